// velmire --demo [DIR]: builds the demo clip with cross-colour in both layouts, filters each
// through the plug-in, writes the clips and comparison pictures into DIR and prints what the
// filter achieved against the clean scene.
#pragma once

#include <ostream>

#include "tool/cli/cli_options.h"

namespace velmire::cli {

// Uses the filter settings, thread count and progress choice of `options`; reports on `out`.
// Throws CliError or host::HostError.
void RunDemo(const CliOptions& options, int threads,
             std::ostream& out);

}  // namespace velmire::cli
