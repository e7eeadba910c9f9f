// A test host on the real VapourSynth core (C API 4): a core with the plug-in under test loaded
// through std.LoadPlugin, clips served from memory by a source node of the host's own, the
// function invoked by name, and output frames read back into memory.
#pragma once

#include <VapourSynth4.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/reference_frames.h"

namespace velmire::testing {

struct NodeRelease {
  const VSAPI* api;
  void operator()(VSNode* node) const { api->freeNode(node); }
};
using NodeRef = std::unique_ptr<VSNode, NodeRelease>;

struct FrameRelease {
  const VSAPI* api;
  void operator()(const VSFrame* frame) const { api->freeFrame(frame); }
};
using FrameRef = std::unique_ptr<const VSFrame, FrameRelease>;

// A clip, or the error that came instead.
struct Invoked {
  NodeRef node;
  std::string error;
};

// The properties the memory source gives frame n: its number, and a field order to keep.
inline constexpr const char* kFrameNumberProperty = "VelmireTestFrame";
inline constexpr int64_t kFieldBased = 1;

class VapourSynthHost {
 public:
  // A core running `threads` threads, with the plug-in loaded. Freeing it fails the test when
  // the core reports filters or frames still alive.
  explicit VapourSynthHost(int threads);
  ~VapourSynthHost();
  VapourSynthHost(const VapourSynthHost&) = delete;
  VapourSynthHost& operator=(const VapourSynthHost&) = delete;

  const VSAPI& api() const { return *api_; }
  VSCore* core() const { return core_; }
  VSPlugin* plugin() const;  // the plug-in under test, found by its identifier

  // A clip serving these frames from memory, with the properties above.
  NodeRef MemoryClip(const ClipBytes& clip);
  // std.BlankClip of a preset format; std.Splice of two clips (mismatch allowed).
  NodeRef BlankClip(int presetFormat, int width, int height);
  NodeRef Splice(VSNode* first, VSNode* second);

  // velmire.Velmire(clip, name=value...).
  Invoked Velmire(VSNode* clip, const std::vector<std::pair<const char*, int64_t>>& arguments);

  FrameRef Frame(VSNode* node, int n);
  // Every frame of a node, all requested at once.
  std::vector<FrameBytes> AllFrames(VSNode* node);

  FrameBytes Bytes(const VSFrame* frame) const;

 private:
  NodeRef Take(VSMap* result, Invoked* invoked = nullptr);

  const VSAPI* api_ = nullptr;
  VSCore* core_ = nullptr;
  std::shared_ptr<struct WarningLog> warnings_;
};

}  // namespace velmire::testing
