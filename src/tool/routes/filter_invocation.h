// Calls a 2.5 plug-in's script function on a source clip, through the in-process host.
#pragma once

#include "base/settings.h"
#include "host/script_environment.h"

namespace velmire::cli {

// The filtered clip. Throws host::HostError when the call fails, CliError when the function
// returns no clip.
PClip InvokeVelmire(host::ScriptEnvironment& env, const PClip& source,
                    const Settings& settings);

}  // namespace velmire::cli
