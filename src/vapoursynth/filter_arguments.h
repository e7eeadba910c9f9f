// The VapourSynth function's arguments: VapourSynth's spelling of the settings (lower case,
// an integer for the flag), read from the argument map and checked against the settings'
// ranges. VapourSynth users expect out-of-range values to be refused, so they are not clamped.
#pragma once

#include <VapourSynth4.h>

#include <string>

#include "base/settings.h"

namespace velmire::vapoursynth {

// "clip:vnode;threshold_y:int:opt;noise:int:opt;margin:int:opt;debug:int:opt;mode:int:opt;".
const char* FunctionArguments();

struct ArgumentsRead {
  Settings settings;
  std::string error;  // empty when every argument is in range
};

ArgumentsRead ReadSettings(const VSMap& in, const VSAPI& vsapi);

}  // namespace velmire::vapoursynth
