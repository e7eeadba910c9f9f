// Filters one layout of the stored demo clip once per combination of settings and judges each
// result against the clean scene. The frames are filtered from memory by the filter core, so a
// row costs one pass of the filter and no file reading or writing.
#pragma once

#include <string>
#include <vector>

#include "base/settings.h"
#include "core/kernel_set.h"
#include "lab/clips/stored_demo_clip.h"
#include "lab/sweep/sweep_table.h"

namespace velmire::lab {

// One row per entry of `grid`, in its order; `threads` frames are filtered at once. The speed
// is that of the filtering alone, without the judging, from the fastest of a few passes.
// Throws std::bad_alloc.
std::vector<SweepRow> SweepSettings(const StoredDemoClip& clip, const std::vector<Settings>& grid,
                                    const KernelSet& kernels, int threads);

}  // namespace velmire::lab
