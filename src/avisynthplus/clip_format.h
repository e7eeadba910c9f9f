// The clips the AviSynth+ function takes: YUY2, and planar YUV 4:2:0 or 4:2:2 of 8, 10, 12, 14
// or 16 bits without an alpha plane.
#pragma once

#include <optional>

#include "avisynthplus/c_api.h"
#include "base/frame_view.h"

namespace velmire::avisynthplus {

// The refusal of every other clip, in AviSynth's "Function : message" form.
inline constexpr const char* kFormatRefusal =
    "Velmire : YUY2, YV12, I420, YV16, YUV420P10/12/14/16 and YUV422P10/12/14/16 only "
    "(no alpha plane, no float)";

// The core's sample format for clips of this video info, or nothing when the function refuses
// them.
std::optional<SampleFormat> SampleFormatOf(const AVS_VideoInfo& vi);

}  // namespace velmire::avisynthplus
