#include "avisynthplus/c_api.h"

namespace velmire::avisynthplus {
namespace {

AVS_Library table{};

}  // namespace

bool LoadCApi() {
  // Only AviSynth+ of interface 11 and later calls avisynth_c_plugin_init2, and those have every
  // function the plug-in uses, the ones avs_load_library treats as optional included.
  static const bool loaded = [] {
    AVS_Library* library = avs_load_library();
    if (!library) return false;
    table = *library;
    table.handle = nullptr;
    // The plug-in keeps no reference to avisynth.dll: its code runs only inside AviSynth+'s
    // calls, and AviSynth+ unloads it before AviSynth+ itself can be unloaded, so the
    // addresses stay valid; a reference of its own would keep AviSynth+ in memory after the
    // program has let it go.
    avs_free_library(library);
    return true;
  }();
  return loaded;
}

const AVS_Library& CApi() { return table; }

}  // namespace velmire::avisynthplus
