#include "stand_in_avisynth.h"

#include <cstdio>
#include <string>
#include <type_traits>

namespace {

std::string calls;

}  // namespace

extern "C" {

// Exported as avs_add_function (the .def file is written by CMakeLists.txt).
int AVSC_CC StandInAddFunction(AVS_ScriptEnvironment*, const char* name, const char* params,
                               AVS_ApplyFunc apply, void*) {
  calls += std::string("avs_add_function ") + (name ? name : "(null)") + " " +
           (params ? params : "(null)") + (apply ? "" : " (no callback)") + "\n";
  return 0;
}

// Exported under every other name.
void __stdcall StandInUnexpected() {
  std::puts("FAIL: the plug-in called a C interface function other than avs_add_function");
  std::fflush(stdout);
  ExitProcess(3);
}

const char* __cdecl StandInCalls() { return calls.c_str(); }

}  // extern "C"

static_assert(std::is_same_v<decltype(&StandInAddFunction), avs_add_function_func>);
static_assert(std::is_same_v<decltype(&StandInCalls), StandInCallsFunc>);
