// AviSynth+'s C interface as the plug-in calls it.
//
// The plug-in links nothing of AviSynth+: on Windows the DLL then needs no import library, and on
// Linux the package needs no libavisynth package, which distributions do not have. The entry
// point calls LoadCApi, which takes the functions' addresses from the AviSynth+ library that is
// loading the plug-in (avisynth.dll; on POSIX systems the libavisynth already in the process,
// whether the program linked it or opened it itself, even privately), and the functions below
// stand in for the interface's own, under their names, for the rest of the plug-in.
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
// The header then declares each function as a pointer type, name##_func, and defines
// avs_load_library.
#define AVSC_NO_DECLSPEC
#define VELMIRE_AVS_TYPE(name) name##_func
#else
// The header declares the functions; their addresses are taken at run time all the same, so no
// symbol of AviSynth+ is left for the loader to bind (and a program that includes the header
// for itself, as the tests do, sees the same declarations).
#define VELMIRE_AVS_TYPE(name) decltype(&::name)
#endif

#include <avisynth_c.h>

#include <utility>

namespace velmire::avisynthplus {

// Every function of the interface the plug-in calls.
#define VELMIRE_AVS_FUNCTIONS(X) \
  X(avs_add_function)            \
  X(avs_bits_per_component)      \
  X(avs_clip_get_error)          \
  X(avs_component_size)          \
  X(avs_get_error)               \
  X(avs_get_frame)               \
  X(avs_get_height_p)            \
  X(avs_get_pitch_p)             \
  X(avs_get_read_ptr_p)          \
  X(avs_get_row_size_p)          \
  X(avs_get_write_ptr_p)         \
  X(avs_is_420)                  \
  X(avs_is_422)                  \
  X(avs_is_yuva)                 \
  X(avs_new_c_filter)            \
  X(avs_new_video_frame_p)       \
  X(avs_release_clip)            \
  X(avs_release_video_frame)     \
  X(avs_set_to_clip)

// Their addresses.
struct CApiTable {
#define VELMIRE_AVS_MEMBER(name) VELMIRE_AVS_TYPE(name) name = nullptr;
  VELMIRE_AVS_FUNCTIONS(VELMIRE_AVS_MEMBER)
#undef VELMIRE_AVS_MEMBER
};

// Fills the table on the first call; false when no AviSynth+ library is loaded or it lacks one of
// the functions. Only AviSynth+ of interface 11 and later calls avisynth_c_plugin_init2, and
// those have every one.
bool LoadCApi();

// The table LoadCApi filled.
const CApiTable& CApi();

// Each stands in for the interface's function of the same name, calling it through the table.
// They are objects, not functions, so that a call in the plug-in's namespace never reaches the
// header's declarations through its arguments' types (argument-dependent lookup).
template <auto function>
struct CApiCall {
  template <typename... Arguments>
  decltype(auto) operator()(Arguments&&... arguments) const {
    return (CApi().*function)(std::forward<Arguments>(arguments)...);
  }
};
#define VELMIRE_AVS_FUNCTION(name) inline constexpr CApiCall<&CApiTable::name> name{};
VELMIRE_AVS_FUNCTIONS(VELMIRE_AVS_FUNCTION)
#undef VELMIRE_AVS_FUNCTION

}  // namespace velmire::avisynthplus
