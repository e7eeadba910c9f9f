// The clips the VapourSynth function takes: integer YUV, 4:2:0 or 4:2:2, 8 to 16 bits, of one
// format and size throughout.
#pragma once

#include <VapourSynth4.h>

#include <optional>
#include <string>

#include "base/frame_view.h"

namespace velmire::vapoursynth {

// The core's sample format for clips of this video info, or nothing when the function refuses
// them.
std::optional<SampleFormat> SampleFormatOf(const VSVideoInfo& vi);

// The refusal of such a clip: its format and the accepted ones.
std::string FormatRefusal(const VSVideoInfo& vi, const VSAPI& vsapi);

}  // namespace velmire::vapoursynth
