// The AviSynth+ function's arguments: the same names, defaults and clamping as the 2.5
// function's, so scripts move between hosts unchanged, and the correction mode after them.
#pragma once

#include "avisynthplus/c_api.h"
#include "base/settings.h"

namespace velmire::avisynthplus {

// "c[ThresholdY]i[Noise]i[Margin]i[Debug]b[Mode]i".
const char* FunctionSignature();

// The settings from the arguments of a call: left-out ones take their defaults, out-of-range
// ones are clamped.
Settings ReadSettings(AVS_Value args);

}  // namespace velmire::avisynthplus
