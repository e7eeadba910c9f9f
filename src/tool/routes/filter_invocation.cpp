#include "tool/routes/filter_invocation.h"

#include <string>

#include "core/function_arguments.h"
#include "tool/errors/cli_error.h"

namespace velmire::cli {

PClip InvokeVelmire(host::ScriptEnvironment& env, const PClip& source,
                    const Settings& settings) {
  // Every argument the 2.5 function takes, by name.
  host::NamedArguments named;
  for (const FunctionArgument& argument : kFunctionArguments) {
    if (!argument.OfferedBy(ScriptHost::kInterface25)) continue;
    const int value = argument.Read(settings);
    named.push_back({argument.scriptName, argument.type == ArgumentType::kFlag
                                              ? AVSValue(value != 0)
                                              : AVSValue(value)});
  }
  const AVSValue result = env.Invoke(kFunctionName, {AVSValue(source)}, named);
  PClip clip = result.AsClip();
  if (!clip) throw CliError(std::string("plug-in: ") + kFunctionName + " returned no clip");
  return clip;
}

}  // namespace velmire::cli
