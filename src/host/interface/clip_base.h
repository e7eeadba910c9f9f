// ClipBase: an IClip whose boundary slots forward to natural virtual functions, and whose
// deleting slot runs the most derived destructor. Filters and sources derive from it.
#pragma once

#include "host/interface/clip.h"

namespace velmire {

class ClipBase : public IClip {
 public:
  virtual ~ClipBase() = default;

  virtual PVideoFrame GetFrame(int n, IScriptEnvironment* env) = 0;

  VideoFrame** VELMIRE_STDCALL GetFrameSlot(VideoFrame** result, int n,
                                            IScriptEnvironment* env) final {
    *result = GetFrame(n, env).Detach();
    return result;
  }
  int VELMIRE_STDCALL GetVersion() override { return AVISYNTH_INTERFACE_VERSION; }
  void VELMIRE_STDCALL SetCacheHints(int, int) override {}
  void VELMIRE_THISCALL DeletingDestructor(unsigned flags) final {
    if (flags & 1u) {
      delete this;
    } else {
      this->~ClipBase();
    }
  }
};

}  // namespace velmire
