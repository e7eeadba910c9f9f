// velmire --demo [DIR] --sweep: filters each of the demo's scene classes, in NTSC and PAL and
// in both layouts, with a grid of settings, and prints as Markdown how well each combination
// removed the cross-colour and how fast it ran, beside the unfiltered clip and two simple
// baselines; the same text goes into DIR/settings-sweep.md, and a bar chart of the error on
// detail per scene class into DIR/sweep-chart.svg.
#pragma once

#include <ostream>
#include <string>

#include "tool/cli/cli_options.h"

namespace velmire::cli {

// Uses the grid, folder and thread count of `options`; reports on `out`. Throws CliError or
// host::HostError.
void RunSweep(const CliOptions& options, int threads,
              std::ostream& out);

}  // namespace velmire::cli
