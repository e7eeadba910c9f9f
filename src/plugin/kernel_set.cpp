#include "plugin/kernel_set.h"

#include "plugin/simd_kernels.h"

namespace velmire {

const KernelSet& PortableKernels() {
  static const KernelSet kPortable{"portable", BuildEdgeMaskYUY2Portable,
                                   BuildEdgeMaskPlanarPortable, CorrectBlockYUY2Portable,
                                   CorrectBlockPlanarPortable};
  return kPortable;
}

std::vector<const KernelSet*> AvailableKernels() {
  std::vector<const KernelSet*> sets{&PortableKernels()};
  AppendVectorKernels(sets);
  return sets;
}

const KernelSet& BestKernels() {
  static const KernelSet* const kBest = AvailableKernels().back();
  return *kBest;
}

}  // namespace velmire
