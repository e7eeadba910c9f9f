// The short form of the settings sweep: per scene class, the combination of settings that left
// the least chroma error on detail, set beside the defaults and the baselines.
#pragma once

#include <ostream>
#include <vector>

#include "lab/sweep/sweep_table.h"

namespace velmire::lab {

// Changing more than this share of the chroma away from detail counts as touching flat areas.
inline constexpr double kFlatAreasLeftAlone = 0.001;

// The index of the row of the blocks' grid (they all ran the same one) with the lowest mean
// chroma error on detail over the blocks; ties go to the earlier row. With `flat_alone`, only
// rows that change at most kFlatAreasLeftAlone of the chroma elsewhere in every block count.
// Returns the grid's size when no row counts.
std::size_t BestRow(const std::vector<const ClassSweep*>& blocks, bool flat_alone = false);

// Two Markdown tables: per scene class, standard and layout the unfiltered error, the
// baselines', the defaults' (when the grid has them) and the best row's; then per scene class,
// by the mean of the errors on detail over both standards and layouts, the best row, the best
// row that leaves flat areas alone, the defaults and the baselines.
void PrintSweepSummary(const std::vector<ClassSweep>& results, std::ostream& out);

}  // namespace velmire::lab
