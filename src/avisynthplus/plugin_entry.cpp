// The plug-in's entry point, and the script function it registers:
// Velmire(clip, ThresholdY, Noise, Margin, Debug), which checks its clip and creates the filter.
#include <new>
#include <optional>

#include "avisynthplus/c_api.h"
#include "avisynthplus/clip_format.h"
#include "avisynthplus/filter_arguments.h"
#include "avisynthplus/frame_filter.h"
#include "core/cross_color.h"
#include "core/function_arguments.h"

// The project builds with hidden visibility, and the header's export macro gives none on POSIX
// systems: the entry point is made visible here, or AviSynth+ would not find it. On Windows it is
// the DLL's one export: on x86-64 under its plain name, on x86 (where AVSC_CC is stdcall) as
// avisynth_c_plugin_init2@4, one of the decorated names AviSynth+ looks up there.
#if defined(_WIN32)
#define VELMIRE_PLUGIN_ENTRY __declspec(dllexport)
#else
#define VELMIRE_PLUGIN_ENTRY __attribute__((visibility("default")))
#endif

namespace velmire::avisynthplus {
namespace {

AVS_Value AVSC_CC CreateVelmire(AVS_ScriptEnvironment* env, AVS_Value args, void*) {
  AVS_FilterInfo* fi = nullptr;
  AVS_Clip* clip = avs_new_c_filter(env, &fi, avs_array_elt(args, 0), 1);
  AVS_Value result;
  const std::optional<SampleFormat> format = SampleFormatOf(fi->vi);
  const char* refusal = format ? OddSizeRefusal(fi->vi) : kFormatRefusal;
  auto* filter = refusal ? nullptr
                         : new (std::nothrow) FrameFilter{*format, ReadSettings(args),
                                                          &BestKernels()};
  if (refusal) {
    result = avs_new_value_error(refusal);
  } else if (!filter) {
    result = avs_new_value_error("Velmire : not enough memory for the filter");
  } else {
    fi->user_data = filter;
    fi->get_frame = GetFilteredFrame;
    fi->set_cache_hints = AnswerCacheHints;
    fi->free_filter = FreeFrameFilter;
    avs_set_to_clip(&result, clip);
  }
  avs_release_clip(clip);
  return result;
}

}  // namespace
}  // namespace velmire::avisynthplus

extern "C" VELMIRE_PLUGIN_ENTRY const char* AVSC_CC avisynth_c_plugin_init2(
    AVS_ScriptEnvironment* env) {
  using namespace velmire::avisynthplus;
  if (!LoadCApi()) return "Velmire : cannot find AviSynth+'s C interface in the process";
  // Named in full: outside the namespace, the header's declaration is as near (c_api.h).
  velmire::avisynthplus::avs_add_function(env, velmire::kFunctionName, FunctionSignature(),
                                          CreateVelmire, nullptr);
  return "Velmire " VELMIRE_VERSION " cross-colour reduction";
}
