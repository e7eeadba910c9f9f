// A test host on the real AviSynth+ through its C interface: a script environment with the
// plug-in under test loaded by LoadPlugin, clips served from memory by a source function of
// the host's own (created through Invoke, so AviSynth+ puts its cache in front, as in a
// script), functions invoked by name, and frames read back into memory.
#pragma once

#include <avisynth_c.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "support/reference_frames.h"

namespace velmire::testing {

// A script value, released when it goes.
class Value {
 public:
  Value() : value_(avs_void) {}
  explicit Value(AVS_Value value) : value_(value) {}
  ~Value() { avs_release_value(value_); }
  Value(Value&& other) noexcept : value_(std::exchange(other.value_, avs_void)) {}
  Value& operator=(Value&& other) noexcept {
    std::swap(value_, other.value_);
    return *this;
  }

  const AVS_Value& get() const { return value_; }
  bool IsClip() const { return avs_is_clip(value_); }
  std::string Error() const { return avs_is_error(value_) ? avs_as_error(value_) : ""; }

 private:
  AVS_Value value_;
};

// A frame read back, or the error raised instead.
struct Fetched {
  FrameBytes bytes;
  std::string error;
  int64_t frameProperty = -1;  // kFrameNumberProperty of the frame
  int64_t fieldBased = -1;
};

inline constexpr const char* kFrameNumberProperty = "VelmireTestFrame";
inline constexpr int64_t kFieldBased = 1;

// What the host's source function serves: frames made once, handed out by reference, so that
// no thread writes into a frame buffer AviSynth+ has recycled (its reference counts are out of
// ThreadSanitizer's sight).
struct MemorySource {
  AVS_VideoInfo vi;
  std::vector<AVS_VideoFrame*> frames;
  int broken;
  std::string brokenError;
};

class AviSynthHost {
 public:
  AviSynthHost();
  ~AviSynthHost();
  AviSynthHost(const AviSynthHost&) = delete;
  AviSynthHost& operator=(const AviSynthHost&) = delete;

  // A clip serving these frames with the properties above. Frame `broken` (if any) raises
  // "VelmireTestSource: frame N is broken"; frames outside the clip raise an error too, so a
  // filter that asks for them unclamped is caught unless the cache clamps.
  Value MemoryClip(const ClipBytes& clip, int pixelType, int broken = -1);
  std::string BrokenFrameError(int n) const;

  Value Invoke(const char* name, const std::vector<std::pair<const char*, AVS_Value>>& args);
  Value BlankClip(const char* pixelType);
  Value Velmire(const Value& clip, const std::vector<std::pair<const char*, AVS_Value>>& named);
  Value Prefetch(const Value& clip, int threads);

  Fetched Frame(const Value& clip, int n);

 private:
  AVS_ScriptEnvironment* env_;
  std::deque<MemorySource> sources_;  // stable addresses: filters point into it
};

}  // namespace velmire::testing
