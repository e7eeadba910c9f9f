// ScriptEnvironment: an in-process host. It keeps a table of script functions, binds calls to
// their signatures, loads plug-in libraries, and makes, copies and recycles frames. Its
// services may be used from several threads at once.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "host/frame_pool.h"
#include "host/host_error.h"
#include "host/interface/plugin_interface.h"
#include "host/signature.h"

namespace velmire::host {

class ScriptEnvironment final : public IScriptEnvironment {
 public:
  ScriptEnvironment() = default;
  ScriptEnvironment(const ScriptEnvironment&) = delete;
  ScriptEnvironment& operator=(const ScriptEnvironment&) = delete;
  ~ScriptEnvironment();

  // Loads a plug-in library and calls its entry point once. Throws HostError.
  void LoadPlugin(const std::string& path);

  // Calls a registered function with positional and named arguments. Throws HostError.
  AVSValue Invoke(const std::string& name, const std::vector<AVSValue>& positional,
                  const NamedArguments& named = {});

  struct Registration {
    std::string name;
    std::string params;
    ApplyFunc apply = nullptr;
    void* user_data = nullptr;
  };
  // The registrations made so far, in order.
  std::vector<Registration> Functions() const;

  const FramePool& frames() const { return pool_; }

  // The host's interface.
  void VELMIRE_THISCALL DestructorSlot(unsigned flags) override;
  int VELMIRE_STDCALL GetCPUFlags() override { return 0; }
  char* VELMIRE_STDCALL SaveString(const char* s, int length = -1) override;
  char* VELMIRE_CDECL Sprintf(const char* fmt, ...) override;
  char* VELMIRE_STDCALL VSprintf(const char* fmt, va_list val) override;
  [[noreturn]] void VELMIRE_CDECL ThrowError(const char* fmt, ...) override;
  void VELMIRE_STDCALL AddFunction(const char* name, const char* params, ApplyFunc apply,
                                   void* user_data) override;
  bool VELMIRE_STDCALL FunctionExists(const char* name) override;
  AVSValueRaw* VELMIRE_STDCALL InvokeSlot(AVSValueRaw* result, const char* name, AVSValueRaw args,
                                          const char** arg_names) override;
  AVSValueRaw* VELMIRE_STDCALL GetVarSlot(AVSValueRaw* result, const char* name) override;
  bool VELMIRE_STDCALL SetVar(const char* name, const AVSValue& val) override;
  bool VELMIRE_STDCALL SetGlobalVar(const char* name, const AVSValue& val) override;
  void VELMIRE_STDCALL PushContext(int) override {}
  void VELMIRE_STDCALL PopContext() override {}
  VideoFrame** VELMIRE_STDCALL NewVideoFrameSlot(VideoFrame** result, const VideoInfo& vi,
                                                 int align) override;
  bool VELMIRE_STDCALL MakeWritable(PVideoFrame* frame) override;
  void VELMIRE_STDCALL BitBlt(uint8_t* dstp, int dst_pitch, const uint8_t* srcp, int src_pitch,
                              int row_size, int height) override;
  void VELMIRE_STDCALL AtExit(ShutdownFunc function, void* user_data) override;
  void VELMIRE_STDCALL CheckVersion(int version) override;
  VideoFrame** VELMIRE_STDCALL SubframeSlot(VideoFrame** result, VideoFrame* source, int rel_offset,
                                            int new_pitch, int new_row_size,
                                            int new_height) override;
  int VELMIRE_STDCALL SetMemoryMax(int mem) override;
  int VELMIRE_STDCALL SetWorkingDir(const char*) override { return -1; }

 private:
  const Registration* Find(const std::string& name) const;

  FramePool pool_;  // first: frames held by the members below are released before it goes
  mutable std::mutex mutex_;
  std::vector<Registration> functions_;
  std::deque<std::string> strings_;
  std::map<std::string, AVSValue> variables_;
  std::vector<std::pair<ShutdownFunc, void*>> atExit_;
  int memoryMax_ = 0;
};

}  // namespace velmire::host
