// A source clip the host serves itself: frames filled from the shared test pattern, a frame
// number outside the clip answered with the nearest frame, as the frame server's sources do.
// It notes the frame numbers and audio ranges asked of it and counts live instances, so the
// host can see what a filter asked for and that the filter let go of it.
#pragma once

#include "frame_store.h"
#include "interface.h"

namespace msvc {

class SourceClip : public IClip {
 public:
  SourceClip(const VideoInfo& vi, FrameStore& store);
  ~SourceClip() override;

  PVideoFrame __stdcall GetFrame(int n, IScriptEnvironment* env) override;
  bool __stdcall GetParity(int n) override;
  void __stdcall GetAudio(void* buf, __int64 start, __int64 count, IScriptEnvironment* env) override;
  void __stdcall SetCacheHints(int, int) override {}
  const VideoInfo& __stdcall GetVideoInfo() override { return vi_; }

  // True while every frame still holds the pattern it was made with.
  bool FramesIntact() const;
  int LowestRequest() const { return lowest_; }
  int HighestRequest() const { return highest_; }
  __int64 AudioStart() const { return audioStart_; }
  __int64 AudioCount() const { return audioCount_; }

  static int Live() { return live_; }

 private:
  static constexpr int kMaxFrames = 8;
  static int live_;

  VideoInfo vi_;
  PVideoFrame frames_[kMaxFrames];
  int lowest_ = 0x7fffffff;
  int highest_ = -0x7fffffff;
  __int64 audioStart_ = -1;
  __int64 audioCount_ = -1;
};

}  // namespace msvc
