// The plug-in's entry point, and the function it registers: velmire.Velmire(clip, threshold_y,
// noise, margin, debug), which checks its clip and arguments and creates the filter node.
#include <VapourSynth4.h>

#include <new>
#include <optional>
#include <string>

#include "core/cross_color.h"
#include "core/function_arguments.h"
#include "vapoursynth/clip_format.h"
#include "vapoursynth/filter_arguments.h"
#include "vapoursynth/frame_filter.h"

namespace velmire::vapoursynth {
namespace {

constexpr const char* kIdentifier = "org.velmire.velmire";
constexpr const char* kNamespace = "velmire";
constexpr const char* kPluginName = "Velmire cross-colour reduction";

// Builds the filter, or returns why not. Takes over `clip`.
std::string CreateFilter(VSNode* clip, const VSMap& in, VSMap* out, VSCore* core,
                         const VSAPI& vsapi) {
  const VSVideoInfo vi = *vsapi.getVideoInfo(clip);
  const std::optional<SampleFormat> format = SampleFormatOf(vi);
  if (!format) return FormatRefusal(vi, vsapi);
  const ArgumentsRead arguments = ReadSettings(in, vsapi);
  if (!arguments.error.empty()) return arguments.error;

  auto* filter = new FrameFilter{clip, vi.numFrames - 1, *format, arguments.settings,
                                 &BestKernels()};
  const VSFilterDependency dependencies[] = {{clip, rpGeneral}};
  vsapi.createVideoFilter(out, kFunctionName, &vi, GetFilteredFrame, FreeFrameFilter, fmParallel,
                          dependencies, 1, filter, core);
  // A node that could not be made has not taken the instance data.
  if (vsapi.mapGetError(out)) FreeFrameFilter(filter, core, &vsapi);
  return {};
}

void VS_CC CreateVelmire(const VSMap* in, VSMap* out, void*, VSCore* core, const VSAPI* vsapi) {
  VSNode* clip = vsapi->mapGetNode(in, "clip", 0, nullptr);
  try {
    const std::string refusal = CreateFilter(clip, *in, out, core, *vsapi);
    if (refusal.empty()) return;
    vsapi->mapSetError(out, refusal.c_str());
  } catch (const std::bad_alloc&) {
    vsapi->mapSetError(out, "Velmire: not enough memory to create the filter");
  }
  vsapi->freeNode(clip);
}

}  // namespace
}  // namespace velmire::vapoursynth

VS_EXTERNAL_API(void) VapourSynthPluginInit2(VSPlugin* plugin, const VSPLUGINAPI* vspapi) {
  using namespace velmire::vapoursynth;
  vspapi->configPlugin(kIdentifier, kNamespace, kPluginName,
                       VS_MAKE_VERSION(VELMIRE_VERSION_MAJOR, VELMIRE_VERSION_MINOR),
                       VAPOURSYNTH_API_VERSION, 0, plugin);
  vspapi->registerFunction(velmire::kFunctionName, FunctionArguments(), "clip:vnode;",
                           CreateVelmire, nullptr, plugin);
}
