#include "avisynthplus/filter_arguments.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/function_arguments.h"

namespace velmire::avisynthplus {
namespace {

// The value of an integer or flag argument; its default when left out.
int ValueOr(AVS_Value value, const FunctionArgument& argument) {
  if (!avs_defined(value)) return argument.range.defaultValue;
  if (argument.type == ArgumentType::kFlag) return avs_as_bool(value) ? 1 : 0;
  // A 64-bit value is narrowed by clamping, so a huge one still lands on the maximum.
  return static_cast<int>(std::clamp<int64_t>(avs_as_long(value), INT_MIN, INT_MAX));
}

}  // namespace

const char* FunctionSignature() { return ScriptSignature<ScriptHost::kAviSynthPlus>(); }

Settings ReadSettings(AVS_Value args) {
  Settings settings;
  // Arguments follow the clip in the table's order.
  int index = 1;
  for (const FunctionArgument& argument : kFunctionArguments) {
    argument.Store(settings, ValueOr(avs_array_elt(args, index++), argument));
  }
  return Settings::Clamped(settings);
}

}  // namespace velmire::avisynthplus
