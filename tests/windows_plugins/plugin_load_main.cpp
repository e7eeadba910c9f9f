// Loads a frame-server plug-in DLL as its frame server does: finds the entry point under the
// names the frame server tries, in its order, calls it with a stand-in of the frame server's
// interface and checks what the plug-in registered. Prints VELMIRE-PLUGIN-LOADED only when
// every check passed, so a run that did not happen cannot pass.
//
//   windows_plugin_load vapoursynth PLUGIN.dll
//   windows_plugin_load avisynthplus PLUGIN.dll STAND-IN/avisynth.dll
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#if defined(VELMIRE_LOAD_VAPOURSYNTH)
#include <VapourSynth4.h>
#endif
#if defined(VELMIRE_LOAD_AVISYNTHPLUS)
#include "stand_in_avisynth.h"
#endif

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::printf("FAIL: %s\n", what.c_str());
  ++failures;
}

void CheckCalls(const std::string& calls, const std::string& expected) {
  Check(calls == expected, "the plug-in made the calls\n" + calls + "expected\n" + expected);
}

// The first of `names` the DLL exports, or nothing.
template <typename Entry>
Entry FindEntry(HMODULE dll, const std::vector<const char*>& names) {
  for (const char* name : names) {
    if (FARPROC entry = GetProcAddress(dll, name)) {
      std::printf("entry point found as %s\n", name);
      return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(entry));
    }
  }
  Check(false, "no entry point under the names the frame server looks up");
  return nullptr;
}

#if defined(VELMIRE_LOAD_VAPOURSYNTH)

std::string vapourSynthCalls;
VSPlugin* const kPlugin = reinterpret_cast<VSPlugin*>(&vapourSynthCalls);  // a sentinel handle

std::string Handle(VSPlugin* plugin) { return plugin == kPlugin ? "" : " (another handle)"; }

int VS_CC ConfigPlugin(const char* identifier, const char* pluginNamespace, const char* name, int,
                       int apiVersion, int, VSPlugin* plugin) noexcept {
  vapourSynthCalls += std::string("configPlugin ") + identifier + " " + pluginNamespace +
                      (*name ? "" : " (no name)") + " API " + std::to_string(apiVersion) +
                      Handle(plugin) + "\n";
  return 1;
}

int VS_CC RegisterFunction(const char* name, const char* args, const char* returnType,
                           VSPublicFunction create, void*, VSPlugin* plugin) noexcept {
  vapourSynthCalls += std::string("registerFunction ") + name + "(" + args + ") -> " +
                      returnType + (create ? "" : " (no callback)") + Handle(plugin) + "\n";
  return 1;
}

int VS_CC GetApiVersion() noexcept { return VAPOURSYNTH_API_VERSION; }

void LoadVapourSynthPlugin(HMODULE dll) {
  auto entry = FindEntry<VSInitPlugin>(dll, {"VapourSynthPluginInit2"});
  if (!entry) return;
  const VSPLUGINAPI api{GetApiVersion, ConfigPlugin, RegisterFunction};
  entry(kPlugin, &api);
  CheckCalls(vapourSynthCalls,
             "configPlugin org.velmire.velmire velmire API " +
                 std::to_string(VAPOURSYNTH_API_VERSION) +
                 "\nregisterFunction Velmire(clip:vnode;threshold_y:int:opt;noise:int:opt;"
                 "margin:int:opt;debug:int:opt;mode:int:opt;) -> clip:vnode;\n");
}

#endif

#if defined(VELMIRE_LOAD_AVISYNTHPLUS)

void LoadAviSynthPlusPlugin(HMODULE dll, const char* standInPath) {
  // AviSynth+ has loaded avisynth.dll before any plug-in; the plug-in takes its functions from it.
  HMODULE standIn = LoadLibraryA(standInPath);
  auto calls = standIn ? reinterpret_cast<StandInCallsFunc>(reinterpret_cast<void (*)()>(
                             GetProcAddress(standIn, "StandInCalls")))
                       : nullptr;
  Check(calls != nullptr, std::string("no stand-in AviSynth+ in ") + standInPath);
  if (!calls) return;

  using Entry = const char*(AVSC_CC*)(AVS_ScriptEnvironment*);
#if defined(_WIN64)
  auto entry = FindEntry<Entry>(dll, {"avisynth_c_plugin_init2", "_avisynth_c_plugin_init2@4"});
#else
  auto entry = FindEntry<Entry>(
      dll, {"_avisynth_c_plugin_init2@4", "avisynth_c_plugin_init2@4", "avisynth_c_plugin_init2"});
#endif
  if (!entry) return;
  const char* returned = entry(reinterpret_cast<AVS_ScriptEnvironment*>(&failures));
  const std::string result = returned ? returned : "(null)";
  Check(result.rfind("Velmire : ", 0) != 0, "the entry point reported \"" + result + "\"");
  CheckCalls(calls(), "avs_add_function Velmire c[ThresholdY]i[Noise]i[Margin]i[Debug]b[Mode]i\n");

  // The plug-in kept no reference to avisynth.dll: dropping this program's unloads it.
  FreeLibrary(standIn);
  Check(GetModuleHandleA("avisynth.dll") == nullptr,
        "the plug-in still holds avisynth.dll after its entry point returned");
}

#endif

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc > 2 ? argv[1] : "";
  HMODULE dll = argc > 2 ? LoadLibraryA(argv[2]) : nullptr;
  if (!dll) {
    std::printf("FAIL: cannot load %s (error %lu)\n", argc > 2 ? argv[2] : "(no DLL given)",
                GetLastError());
    return 1;
  }
  bool ran = false;
#if defined(VELMIRE_LOAD_VAPOURSYNTH)
  if (kind == "vapoursynth") {
    LoadVapourSynthPlugin(dll);
    ran = true;
  }
#endif
#if defined(VELMIRE_LOAD_AVISYNTHPLUS)
  if (kind == "avisynthplus" && argc > 3) {
    LoadAviSynthPlusPlugin(dll, argv[3]);
    ran = true;
  }
#endif
  Check(ran, "this program cannot check a plug-in of kind \"" + kind + "\" with these arguments");
  if (failures > 0) return 1;
  std::printf("VELMIRE-PLUGIN-LOADED %s %s\n", kind.c_str(), argv[2]);
  return 0;
}
