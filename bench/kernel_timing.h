// Time per call of each pixel kernel of each kernel set, on one fixed row or block of the
// natural clip, with the portable set as the reference: a regression in one kernel shows here
// on its own, where a whole-frame figure would hide it in noise.
#pragma once

#include <ostream>
#include <vector>

#include "core/kernel_table.h"

namespace velmire::bench {

// Prints a table: one line per kernel, one column per set in `sets` (portable first), each cell
// the median nanoseconds per call and, for the vector sets, the speed-up over the portable one.
void PrintKernelTimes(std::ostream& out, const std::vector<const KernelSet*>& sets);

}  // namespace velmire::bench
