// The host's services as the plug-in sees them: function registration, frames, writable
// copies, strings and errors. ThrowError raises ScriptError, a C++ exception of this
// compiler, as the frame server does. Services a plug-in of this kind has no reason to use
// count as failed checks.
#pragma once

#include "frame_store.h"
#include "interface.h"

namespace msvc {

struct Registration {
  const char* name;
  const char* params;
  IScriptEnvironment::ApplyFunc apply;
  void* user_data;
};

class TestEnvironment : public IScriptEnvironment {
 public:
  explicit TestEnvironment(FrameStore& frames) : frames_(frames) {}
  ~TestEnvironment() override;

  int RegistrationCount() const { return registrationCount_; }
  const Registration& FirstRegistration() const { return registrations_[0]; }

  long __stdcall GetCPUFlags() override { return 0; }
  char* __stdcall SaveString(const char* s, int length = -1) override;
  char* __cdecl Sprintf(const char* fmt, ...) override;
  char* __stdcall VSprintf(const char* fmt, va_list val) override;
  [[noreturn]] void __cdecl ThrowError(const char* fmt, ...) override;
  void __stdcall AddFunction(const char* name, const char* params, ApplyFunc apply,
                             void* user_data) override;
  bool __stdcall FunctionExists(const char* name) override;
  AVSValue __stdcall Invoke(const char* name, const AVSValue args, const char** arg_names) override;
  AVSValue __stdcall GetVar(const char* name) override;
  bool __stdcall SetVar(const char* name, const AVSValue& val) override;
  bool __stdcall SetGlobalVar(const char* name, const AVSValue& val) override;
  void __stdcall PushContext(int) override {}
  void __stdcall PopContext() override {}
  PVideoFrame __stdcall NewVideoFrame(const VideoInfo& vi, int align) override;
  bool __stdcall MakeWritable(PVideoFrame* pvf) override;
  void __stdcall BitBlt(unsigned char* dstp, int dst_pitch, const unsigned char* srcp,
                        int src_pitch, int row_size, int height) override;
  void __stdcall AtExit(ShutdownFunc function, void* user_data) override;
  void __stdcall CheckVersion(int version) override;
  PVideoFrame __stdcall Subframe(PVideoFrame src, int rel_offset, int new_pitch, int new_row_size,
                                 int new_height) override;
  int __stdcall SetMemoryMax(int) override { return 0; }
  int __stdcall SetWorkingDir(const char*) override { return -1; }

 private:
  static constexpr int kMaxRegistrations = 4;
  static constexpr int kMaxStrings = 64;

  FrameStore& frames_;
  Registration registrations_[kMaxRegistrations] = {};
  int registrationCount_ = 0;
  char* strings_[kMaxStrings] = {};
  int stringCount_ = 0;
};

}  // namespace msvc
