#include "tool/routes/filter_invocation.h"

#include <string>

#include "tool/errors/cli_error.h"

namespace velmire::cli {
namespace {

constexpr const char* kFunction = "Velmire";

}  // namespace

PClip InvokeVelmire(host::ScriptEnvironment& env, const PClip& source,
                    const Settings& settings) {
  const AVSValue result = env.Invoke(kFunction, {AVSValue(source)},
                                     {{kThresholdY.name, AVSValue(settings.ThresholdY)},
                                      {kNoise.name, AVSValue(settings.Noise)},
                                      {kMargin.name, AVSValue(settings.Margin)},
                                      {"Debug", AVSValue(settings.Debug)}});
  PClip clip = result.AsClip();
  if (!clip) throw CliError(std::string("plug-in: ") + kFunction + " returned no clip");
  return clip;
}

}  // namespace velmire::cli
