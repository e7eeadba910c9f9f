// Filters one layout of the stored demo clip once per combination of settings and judges each
// result against the clean scene. The source frames are handed to the plug-in from memory, so
// a row costs one pass of the filter and no file reading or writing.
#pragma once

#include <string>
#include <vector>

#include "cli/script_settings.h"
#include "cli/stored_demo_clip.h"
#include "cli/sweep_table.h"

namespace velmire::cli {

// One row per entry of `grid`, in its order; `threads` frames are filtered at once. The speed
// is that of the filtering alone, without the judging, from the fastest of a few passes.
// Throws CliError or host::HostError.
std::vector<SweepRow> SweepSettings(const StoredDemoClip& clip,
                                    const std::vector<ScriptSettings>& grid,
                                    const std::string& plugin_path, int threads);

}  // namespace velmire::cli
