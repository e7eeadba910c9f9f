// AviSynth+'s C interface as the plug-in calls it.
//
// On Linux the plug-in links libavisynth and calls the interface's functions directly. On
// Windows it links nothing of AviSynth+, so the DLL needs no import library and imports system
// DLLs alone: the entry point calls LoadCApi, which takes the functions' addresses from the
// avisynth.dll that is loading the plug-in (the header's avs_load_library), and the functions
// below stand in for the interface's own, under their names, for the rest of the plug-in.
#pragma once

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdlib>
#include <utility>
// The header then declares the functions as pointer types and defines avs_load_library.
#define AVSC_NO_DECLSPEC
#endif

#include <avisynth_c.h>

namespace velmire::avisynthplus {

#if defined(_WIN32)

// Fills the table on the first call; false when no avisynth.dll is loaded or it lacks one of
// the functions avs_load_library requires.
bool LoadCApi();

// The table LoadCApi filled.
const AVS_Library& CApi();

// Each stands in for the interface's function of the same name, calling it through the table.
#define VELMIRE_AVS_FUNCTION(name)                                 \
  template <typename... Arguments>                                 \
  decltype(auto) name(Arguments&&... arguments) {                  \
    return CApi().name(std::forward<Arguments>(arguments)...);     \
  }
VELMIRE_AVS_FUNCTION(avs_add_function)
VELMIRE_AVS_FUNCTION(avs_bits_per_component)
VELMIRE_AVS_FUNCTION(avs_clip_get_error)
VELMIRE_AVS_FUNCTION(avs_component_size)
VELMIRE_AVS_FUNCTION(avs_get_error)
VELMIRE_AVS_FUNCTION(avs_get_frame)
VELMIRE_AVS_FUNCTION(avs_get_height_p)
VELMIRE_AVS_FUNCTION(avs_get_pitch_p)
VELMIRE_AVS_FUNCTION(avs_get_read_ptr_p)
VELMIRE_AVS_FUNCTION(avs_get_row_size_p)
VELMIRE_AVS_FUNCTION(avs_get_write_ptr_p)
VELMIRE_AVS_FUNCTION(avs_is_420)
VELMIRE_AVS_FUNCTION(avs_is_422)
VELMIRE_AVS_FUNCTION(avs_is_yuva)
VELMIRE_AVS_FUNCTION(avs_new_c_filter)
VELMIRE_AVS_FUNCTION(avs_new_video_frame_p)
VELMIRE_AVS_FUNCTION(avs_release_clip)
VELMIRE_AVS_FUNCTION(avs_release_video_frame)
VELMIRE_AVS_FUNCTION(avs_set_to_clip)
#undef VELMIRE_AVS_FUNCTION

#else

inline bool LoadCApi() { return true; }

#endif

}  // namespace velmire::avisynthplus
