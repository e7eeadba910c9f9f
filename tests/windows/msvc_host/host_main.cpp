// A stand-in for the frame server, built for the Microsoft ABI: it loads the plug-in library,
// finds and calls its entry point as the frame server does, uses the registered function on
// clips it serves itself, compares the frames with those of the Linux build, and checks that
// everything it handed out came back.
//
//   velmire_msvc_host PLUGIN.dll EXPECTED-FRAMES
//
// It prints "VELMIRE-MSVC-HOST-PASSED" as its last line only when every check passed, so a
// run that silently did nothing cannot pass.
#include "../host_cases.h"
#include "checks.h"
#include "environment.h"
#include "expected_frames.h"
#include "filter_cases.h"
#include "runtime.h"
#include "source_clip.h"

namespace msvc {
namespace {

struct StartupInfo {
  int newMode;
};

PluginInit2 FindEntryPoint(void* library) {
  const char* const names[] = {"AvisynthPluginInit2", "_AvisynthPluginInit2@4"};
  for (const char* name : names) {
    if (void* entry = GetProcAddress(library, name)) {
      printf("entry point found as %s\n", name);
      return reinterpret_cast<PluginInit2>(entry);
    }
  }
  return nullptr;
}

void CheckRegistration(const TestEnvironment& env) {
  Check(env.RegistrationCount() == 1, "%d functions registered, not 1", env.RegistrationCount());
  if (env.RegistrationCount() < 1) return;
  const Registration& r = env.FirstRegistration();
  Check(strcmp(r.name, "Velmire") == 0, "function registered as \"%s\"", r.name);
  Check(strcmp(r.params, "c[ThresholdY]i[Noise]i[Margin]i[Debug]b") == 0,
        "function registered with the signature \"%s\"", r.params);
  Check(r.apply != nullptr, "no creation function registered");
  Check(r.user_data == nullptr, "user data registered");
}

int Run(const char* pluginPath, const char* expectedPath) {
  ExpectedFrames expected;
  if (!expected.Load(expectedPath)) return 1;
  void* library = LoadLibraryA(pluginPath);
  Check(library != nullptr, "cannot load \"%s\"", pluginPath);
  if (!library) return 1;
  const PluginInit2 entry = FindEntryPoint(library);
  Check(entry != nullptr, "\"%s\" has no entry point", pluginPath);
  if (!entry) return 1;

  FrameStore frames;
  {
    TestEnvironment env(frames);
    const char* result = entry(&env);
    Check(result == nullptr, "the entry point returned \"%s\"", result ? result : "");
    CheckRegistration(env);
    if (FailedChecks() == 0) {
      const Registration& function = env.FirstRegistration();
      for (const velmire_cases::Case& call : velmire_cases::kCases)
        RunFilterCase(env, function, call, expected, frames);
      Check(expected.AtEnd(), "the Linux build gave more frames than were compared");
      RunFormatRefusal(env, function, frames);
    }
  }
  Check(SourceClip::Live() == 0, "%d source clips never released", SourceClip::Live());
  Check(frames.Held() == 0, "%d of %d frames never released", frames.Held(), frames.Made());
  printf("%d frames made and released\n", frames.Made());
  FreeLibrary(library);
  return 0;
}

}  // namespace
}  // namespace msvc

extern "C" int HostMain() {
  int argc = 0;
  char** argv = nullptr;
  char** environment = nullptr;
  msvc::StartupInfo startup = {0};
  __getmainargs(&argc, &argv, &environment, 0, &startup);
  if (argc != 3) {
    printf("usage: velmire_msvc_host PLUGIN.dll EXPECTED-FRAMES\n");
    exit(2);
  }
  msvc::Run(argv[1], argv[2]);
  const int failed = msvc::FailedChecks();
  printf("%d checks passed, %d failed\n", msvc::PassedChecks(), failed);
  if (failed == 0) printf("VELMIRE-MSVC-HOST-PASSED\n");
  fflush(nullptr);
  exit(failed == 0 ? 0 : 1);
}
