// GenericVideoFilter: a clip built on one input clip (`child`) whose format, parity and audio
// pass through unchanged; a filter overrides what it changes.
#pragma once

#include "host/interface/clip_base.h"

namespace velmire {

class GenericVideoFilter : public ClipBase {
 public:
  explicit GenericVideoFilter(const PClip& input) : child(input), vi(input->GetVideoInfo()) {}

  PVideoFrame GetFrame(int n, IScriptEnvironment* env) override { return child->GetFrame(n, env); }
  bool VELMIRE_STDCALL GetParity(int n) override { return child->GetParity(n); }
  void VELMIRE_STDCALL GetAudio(void* buf, int64_t start, int64_t count,
                                IScriptEnvironment* env) override {
    child->GetAudio(buf, start, count, env);
  }
  const VideoInfo& VELMIRE_STDCALL GetVideoInfo() override { return vi; }

 protected:
  PClip child;
  VideoInfo vi;
};

}  // namespace velmire
