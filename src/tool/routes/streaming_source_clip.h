// The source clip a 2.5 plug-in library gets when the tool runs it (--plugin): the frames of a
// stream window, handed to the plug-in as host frames (4:2:0 as I420, 4:2:2 as YUY2).
#pragma once

#include "host/interface/plugin_interface.h"
#include "tool/routes/stream_frame_window.h"

namespace velmire::cli {

class StreamingSourceClip : public ClipBase {
 public:
  // `window` and `env` (which makes the frames) must outlive the clip.
  StreamingSourceClip(StreamFrameWindow& window, IScriptEnvironment& env);

  PVideoFrame GetFrame(int n, IScriptEnvironment* env) override;
  bool VELMIRE_STDCALL GetParity(int n) override;
  void VELMIRE_STDCALL GetAudio(void*, int64_t, int64_t, IScriptEnvironment*) override {}
  const VideoInfo& VELMIRE_STDCALL GetVideoInfo() override { return vi_; }

 private:
  StreamFrameWindow& window_;
  IScriptEnvironment& env_;
  VideoInfo vi_;
};

}  // namespace velmire::cli
