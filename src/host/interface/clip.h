// IClip: the host's view of a clip. The first seven virtual slots are the binary interface,
// in the host's order; the non-virtual wrappers below give the rest of the code natural
// signatures.
#pragma once

#include <cstdint>

#include "host/interface/abi.h"
#include "host/interface/handles.h"
#include "host/interface/video_info.h"

namespace velmire {

class IScriptEnvironment;

inline constexpr int AVISYNTH_INTERFACE_VERSION = 2;

class IClip {
 public:
  // Slot 0.
  virtual int VELMIRE_STDCALL GetVersion() = 0;
  // Slot 1. Stores a counted frame pointer in *result and returns result: the return pointer
  // is explicit because the host's compiler and GCC pass a hidden one in different places.
  virtual VideoFrame** VELMIRE_STDCALL GetFrameSlot(VideoFrame** result, int n,
                                                    IScriptEnvironment* env) = 0;
  // Slot 2.
  virtual bool VELMIRE_STDCALL GetParity(int n) = 0;
  // Slot 3.
  virtual void VELMIRE_STDCALL GetAudio(void* buf, int64_t start, int64_t count,
                                        IScriptEnvironment* env) = 0;
  // Slot 4.
  virtual void VELMIRE_STDCALL SetCacheHints(int cachehints, int frame_range) = 0;
  // Slot 5.
  virtual const VideoInfo& VELMIRE_STDCALL GetVideoInfo() = 0;
  // Slot 6: destroys the object and, when bit 0 of flags is set, frees its memory. Stands in
  // for a virtual destructor, which the two compilers lay out differently; thiscall, as the
  // host's compiler calls a destructor whatever convention its declaration names.
  virtual void VELMIRE_THISCALL DeletingDestructor(unsigned flags) = 0;

  PVideoFrame GetFrame(int n, IScriptEnvironment* env) {
    VideoFrame* counted = nullptr;
    GetFrameSlot(&counted, n, env);
    return PVideoFrame::Adopt(counted);
  }

  // The host's reference count; changed only through PClip (interlocked).
  int32_t refcnt = 0;

 protected:
  IClip() = default;
  IClip(const IClip&) = delete;
  IClip& operator=(const IClip&) = delete;
  ~IClip() = default;
};

// The host's layout: a handle is one pointer; a clip object is its table pointer followed by
// the reference count (the count's offset, 4 on 32-bit builds, is checked by a test: offsetof
// does not apply to a class with virtual functions).
static_assert(sizeof(PClip) == sizeof(void*));
static_assert(sizeof(PVideoFrame) == sizeof(void*));
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(IClip) == 8);
#endif

inline PClip::PClip(IClip* clip) : p_(clip) {
  if (p_) InterlockedIncrement32(p_->refcnt);
}

inline PClip::~PClip() {
  if (p_ && InterlockedDecrement32(p_->refcnt) == 0) p_->DeletingDestructor(1);
}

}  // namespace velmire
