#include "avisynthplus/filter_arguments.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace velmire::avisynthplus {
namespace {

// Argument positions in the signature; 0 is the clip.
enum Argument {
  kThresholdYArgument = 1,
  kNoiseArgument,
  kMarginArgument,
  kDebugArgument,
  kModeArgument
};

int IntegerOr(AVS_Value args, int index, const IntegerSetting& setting) {
  const AVS_Value value = avs_array_elt(args, index);
  if (!avs_defined(value)) return setting.defaultValue;
  // A 64-bit value is narrowed by clamping, so a huge one still lands on the maximum.
  return static_cast<int>(std::clamp<int64_t>(avs_as_long(value), INT_MIN, INT_MAX));
}

}  // namespace

std::string FunctionSignature() {
  return std::string("c[") + kThresholdY.name + "]i[" + kNoise.name + "]i[" + kMargin.name +
         "]i[Debug]b[" + kMode.name + "]i";
}

Settings ReadSettings(AVS_Value args) {
  const AVS_Value debug = avs_array_elt(args, kDebugArgument);
  return Settings::Clamped(IntegerOr(args, kThresholdYArgument, kThresholdY),
                           IntegerOr(args, kNoiseArgument, kNoise),
                           IntegerOr(args, kMarginArgument, kMargin),
                           avs_defined(debug) && avs_as_bool(debug),
                           IntegerOr(args, kModeArgument, kMode));
}

}  // namespace velmire::avisynthplus
