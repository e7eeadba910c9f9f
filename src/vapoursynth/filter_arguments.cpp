#include "vapoursynth/filter_arguments.h"

#include <cstdint>

namespace velmire::vapoursynth {
namespace {

// An argument, with the range and default of the setting it gives.
struct IntegerArgument {
  const char* key;
  IntegerSetting range;
  int Settings::*field;
};

constexpr IntegerArgument kIntegerArguments[] = {
    {"threshold_y", kThresholdY, &Settings::ThresholdY},
    {"noise", kNoise, &Settings::Noise},
    {"margin", kMargin, &Settings::Margin},
    {"mode", kMode, &Settings::Mode},
};

constexpr IntegerSetting kDebugFlag{"debug", 0, 1, 0};

// Reads one optional argument: its default when left out, nothing when out of range.
bool ReadInteger(const VSMap& in, const VSAPI& vsapi, const char* key,
                 const IntegerSetting& range, int* value, std::string* error) {
  int status = peSuccess;
  const int64_t given = vsapi.mapGetInt(&in, key, 0, &status);
  if (status != peSuccess) {
    *value = range.defaultValue;
    return true;
  }
  if (given < range.minimum || given > range.maximum) {
    *error = std::string("Velmire: ") + key + " must be from " + std::to_string(range.minimum) +
             " to " + std::to_string(range.maximum) + ", not " + std::to_string(given);
    return false;
  }
  *value = static_cast<int>(given);
  return true;
}

}  // namespace

ArgumentsRead ReadSettings(const VSMap& in, const VSAPI& vsapi) {
  ArgumentsRead read;
  for (const IntegerArgument& argument : kIntegerArguments) {
    if (!ReadInteger(in, vsapi, argument.key, argument.range, &(read.settings.*argument.field),
                     &read.error)) {
      return read;
    }
  }
  int debug = 0;
  if (ReadInteger(in, vsapi, kDebugFlag.name, kDebugFlag, &debug, &read.error)) {
    read.settings.Debug = debug != 0;
  }
  return read;
}

}  // namespace velmire::vapoursynth
