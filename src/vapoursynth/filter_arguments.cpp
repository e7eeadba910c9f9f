#include "vapoursynth/filter_arguments.h"

#include <cstdint>

#include "core/function_arguments.h"

namespace velmire::vapoursynth {
namespace {

// Reads one optional argument into `settings`: its default when left out, nothing (and the
// error) when out of range.
bool ReadArgument(const VSMap& in, const VSAPI& vsapi, const FunctionArgument& argument,
                  Settings* settings, std::string* error) {
  const IntegerSetting& range = argument.range;
  int status = peSuccess;
  const int64_t given = vsapi.mapGetInt(&in, argument.vapoursynthName, 0, &status);
  if (status != peSuccess) {
    argument.Store(*settings, range.defaultValue);
    return true;
  }
  if (given < range.minimum || given > range.maximum) {
    *error = std::string("Velmire: ") + argument.vapoursynthName + " must be from " +
             std::to_string(range.minimum) + " to " + std::to_string(range.maximum) +
             ", not " + std::to_string(given);
    return false;
  }
  argument.Store(*settings, static_cast<int>(given));
  return true;
}

}  // namespace

const char* FunctionArguments() { return VapourSynthArguments(); }

ArgumentsRead ReadSettings(const VSMap& in, const VSAPI& vsapi) {
  ArgumentsRead read;
  for (const FunctionArgument& argument : kFunctionArguments) {
    if (!ReadArgument(in, vsapi, argument, &read.settings, &read.error)) break;
  }
  return read;
}

}  // namespace velmire::vapoursynth
