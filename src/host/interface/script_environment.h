// IScriptEnvironment: the host's services, as virtual slots in the host's order. Slots that
// return a frame or a value take an explicit return pointer; values passed by value are raw.
// The inline wrappers at the end give natural signatures.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "host/interface/avs_value.h"

namespace velmire {

class IScriptEnvironment;

// The creation callback of a script function (cdecl): stores the result in *result, takes
// ownership of args, and returns result.
using ApplyFunc = AVSValueRaw*(VELMIRE_CDECL*)(AVSValueRaw* result, AVSValueRaw args,
                                               void* user_data, IScriptEnvironment* env);
using ShutdownFunc = void(VELMIRE_CDECL*)(void* user_data, IScriptEnvironment* env);

class IScriptEnvironment {
 public:
  // Slot 0: the host's own deleting destructor (thiscall, like every destructor of the
  // host's compiler); never called by a plug-in.
  virtual void VELMIRE_THISCALL DestructorSlot(unsigned flags) = 0;
  virtual int VELMIRE_STDCALL GetCPUFlags() = 0;
  virtual char* VELMIRE_STDCALL SaveString(const char* s, int length = -1) = 0;
  virtual char* VELMIRE_CDECL Sprintf(const char* fmt, ...) = 0;
  virtual char* VELMIRE_STDCALL VSprintf(const char* fmt, va_list val) = 0;
  // Slot 5: raises the host's error with a printf-style message; never returns.
  [[noreturn]] virtual void VELMIRE_CDECL ThrowError(const char* fmt, ...) = 0;
  virtual void VELMIRE_STDCALL AddFunction(const char* name, const char* params, ApplyFunc apply,
                                           void* user_data) = 0;
  virtual bool VELMIRE_STDCALL FunctionExists(const char* name) = 0;
  virtual AVSValueRaw* VELMIRE_STDCALL InvokeSlot(AVSValueRaw* result, const char* name,
                                                  AVSValueRaw args, const char** arg_names) = 0;
  virtual AVSValueRaw* VELMIRE_STDCALL GetVarSlot(AVSValueRaw* result, const char* name) = 0;
  virtual bool VELMIRE_STDCALL SetVar(const char* name, const AVSValue& val) = 0;
  virtual bool VELMIRE_STDCALL SetGlobalVar(const char* name, const AVSValue& val) = 0;
  virtual void VELMIRE_STDCALL PushContext(int level = 0) = 0;
  virtual void VELMIRE_STDCALL PopContext() = 0;
  // Slot 14.
  virtual VideoFrame** VELMIRE_STDCALL NewVideoFrameSlot(VideoFrame** result, const VideoInfo& vi,
                                                         int align) = 0;
  // Slot 15: gives *frame a writable copy unless it is already writable; true when it copied.
  virtual bool VELMIRE_STDCALL MakeWritable(PVideoFrame* frame) = 0;
  virtual void VELMIRE_STDCALL BitBlt(uint8_t* dstp, int dst_pitch, const uint8_t* srcp,
                                      int src_pitch, int row_size, int height) = 0;
  virtual void VELMIRE_STDCALL AtExit(ShutdownFunc function, void* user_data) = 0;
  virtual void VELMIRE_STDCALL CheckVersion(int version = AVISYNTH_INTERFACE_VERSION) = 0;
  // Slot 19. `source` carries one reference, which the callee owns.
  virtual VideoFrame** VELMIRE_STDCALL SubframeSlot(VideoFrame** result, VideoFrame* source,
                                                    int rel_offset, int new_pitch,
                                                    int new_row_size, int new_height) = 0;
  virtual int VELMIRE_STDCALL SetMemoryMax(int mem) = 0;
  virtual int VELMIRE_STDCALL SetWorkingDir(const char* newdir) = 0;

  PVideoFrame NewVideoFrame(const VideoInfo& vi, int align = FRAME_ALIGN) {
    VideoFrame* counted = nullptr;
    NewVideoFrameSlot(&counted, vi, align);
    return PVideoFrame::Adopt(counted);
  }

 protected:
  IScriptEnvironment() = default;
  ~IScriptEnvironment() = default;
};

}  // namespace velmire
