#include "cli/filter_invocation.h"

#include <string>

#include "cli/cli_error.h"

namespace velmire::cli {
namespace {

constexpr const char* kFunction = "Velmire";

}  // namespace

PClip InvokeVelmire(host::ScriptEnvironment& env, const PClip& source,
                    const ScriptSettings& settings) {
  const AVSValue result = env.Invoke(kFunction, {AVSValue(source)},
                                     {{"ThresholdY", AVSValue(settings.threshold_y)},
                                      {"Noise", AVSValue(settings.noise)},
                                      {"Margin", AVSValue(settings.margin)},
                                      {"Debug", AVSValue(settings.debug)}});
  PClip clip = result.AsClip();
  if (!clip) throw CliError(std::string("plug-in: ") + kFunction + " returned no clip");
  return clip;
}

}  // namespace velmire::cli
