// Builds without vector kernels use the portable set alone.
#include "core/simd_kernels.h"

namespace velmire {

void AppendVectorKernels(std::vector<const KernelSet*>&) {}

}  // namespace velmire
