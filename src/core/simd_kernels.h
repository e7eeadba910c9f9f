// Vector kernel sets of this build, appended fastest last after checking the processor.
#pragma once

#include <vector>

#include "core/kernel_table.h"

namespace velmire {

void AppendVectorKernels(std::vector<const KernelSet*>& sets);

}  // namespace velmire
