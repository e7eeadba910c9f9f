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

// For a clip of an accepted format whose size its subsampling does not divide (an odd width, or
// an odd height at 4:2:0), the refusal with the crop the tool also suggests; else null.
// AviSynth+ makes no frame of such a size, so only a clip that declares one without frames
// comes here. The text is kept until the next refusal on the same thread: AviSynth+ passes the
// pointer on, not a copy.
const char* OddSizeRefusal(const AVS_VideoInfo& vi);

}  // namespace velmire::avisynthplus
