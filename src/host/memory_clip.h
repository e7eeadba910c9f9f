// Source clips kept in memory, for tests: MemoryClip serves a fixed list of frames and
// RecordingClip notes every frame number asked of the clip it wraps.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "host/interface/plugin_interface.h"

namespace velmire::host {

// Serves its frames by number; numbers outside the clip get the nearest frame (the first for
// negative numbers, the last past the end), as the frame server's own sources do. Parity is
// the clip's field order; audio is a deterministic byte pattern of the sample position.
class MemoryClip : public ClipBase {
 public:
  MemoryClip(const VideoInfo& vi, std::vector<PVideoFrame> frames);

  PVideoFrame GetFrame(int n, IScriptEnvironment* env) override;
  bool VELMIRE_STDCALL GetParity(int n) override;
  void VELMIRE_STDCALL GetAudio(void* buf, int64_t start, int64_t count,
                                IScriptEnvironment* env) override;
  const VideoInfo& VELMIRE_STDCALL GetVideoInfo() override { return vi_; }

 private:
  VideoInfo vi_;
  std::vector<PVideoFrame> frames_;
};

// Passes everything through to its child and records the frame numbers requested.
class RecordingClip : public GenericVideoFilter {
 public:
  using GenericVideoFilter::GenericVideoFilter;

  PVideoFrame GetFrame(int n, IScriptEnvironment* env) override;
  std::vector<int> Requests() const;

 private:
  mutable std::mutex mutex_;
  std::vector<int> requests_;
};

// Bytes per audio sample of all channels, 0 without audio.
int AudioBytesPerSample(const VideoInfo& vi);

}  // namespace velmire::host
