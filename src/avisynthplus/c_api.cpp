#include "avisynthplus/c_api.h"

#if !defined(_WIN32)
#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>
#endif

namespace velmire::avisynthplus {
namespace {

CApiTable table{};

bool Complete(const CApiTable& candidate) {
#define VELMIRE_AVS_PRESENT(name) candidate.name != nullptr&&
  return VELMIRE_AVS_FUNCTIONS(VELMIRE_AVS_PRESENT) true;
#undef VELMIRE_AVS_PRESENT
}

// The plug-in keeps no reference to the AviSynth+ library: its code runs only inside AviSynth+'s
// calls, and AviSynth+ unloads it before AviSynth+ itself can be unloaded, so the addresses stay
// valid; a reference of its own would keep AviSynth+ in memory after the program has let it go.
#if defined(_WIN32)

bool Load() {
  AVS_Library* library = avs_load_library();
  if (!library) return false;
#define VELMIRE_AVS_COPY(name) table.name = library->name;
  VELMIRE_AVS_FUNCTIONS(VELMIRE_AVS_COPY)
#undef VELMIRE_AVS_COPY
  avs_free_library(library);
  return Complete(table);
}

#else

// The file names of the loaded objects that are AviSynth+'s library (libavisynth.so.N).
std::vector<std::string> LoadedAviSynthLibraries() {
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* found) {
        const std::string name = info->dlpi_name ? info->dlpi_name : "";
        const size_t base = name.find_last_of('/') + 1;  // 0 without a folder
        if (name.compare(base, 12, "libavisynth.") == 0) {
          static_cast<std::vector<std::string>*>(found)->push_back(name);
        }
        return 0;
      },
      &names);
  return names;
}

CApiTable TableOf(void* library) {
  CApiTable candidate;
#define VELMIRE_AVS_LOOK_UP(name) \
  candidate.name = reinterpret_cast<VELMIRE_AVS_TYPE(name)>(dlsym(library, #name));
  VELMIRE_AVS_FUNCTIONS(VELMIRE_AVS_LOOK_UP)
#undef VELMIRE_AVS_LOOK_UP
  return candidate;
}

// The libavisynth the program linked or opened (privately too: RTLD_LOCAL hides its functions
// from the global scope, so they are looked up in it by handle); else, for an AviSynth+ built
// into the program, the global scope.
bool Load() {
  for (const std::string& name : LoadedAviSynthLibraries()) {
    void* library = dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (!library) continue;
    table = TableOf(library);
    dlclose(library);
    if (Complete(table)) return true;
  }
  table = TableOf(RTLD_DEFAULT);
  return Complete(table);
}

#endif

}  // namespace

bool LoadCApi() {
  static const bool loaded = Load();
  return loaded;
}

const CApiTable& CApi() { return table; }

}  // namespace velmire::avisynthplus
