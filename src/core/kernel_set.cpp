#include "core/kernel_set.h"

#include "core/simd_kernels.h"

namespace velmire {

std::string_view KernelSetName(const KernelSet& kernels) { return kernels.name; }

const KernelSet& PortableKernels() {
  static constexpr KernelSet kPortable{
      .name = "portable",
      .edgeMaskYUY2 = BuildEdgeMaskYUY2Portable,
      .edgeMaskPlanar = BuildEdgeMaskPlanarPortable,
      .edgeMaskPlanar16 = BuildEdgeMaskPlanar16Portable,
      .correctBlockYUY2 = CorrectBlockYUY2Portable,
      .correctBlockPlanar = CorrectBlockPlanarPortable,
      .correctBlockPlanar16 = CorrectBlockPlanar16Portable,
      .correctRowYUY2 = CorrectRowYUY2Portable,
      .correctRowPlanar = CorrectRowPlanarPortable,
      .correctRowPlanar16 = CorrectRowPlanar16Portable,
      .still = PortableStillKernels<uint8_t>(),
      .still16 = PortableStillKernels<uint16_t>(),
  };
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

const KernelSet* FindKernels(std::string_view name) {
  for (const KernelSet* set : AvailableKernels()) {
    if (name == set->name) return set;
  }
  return nullptr;
}

}  // namespace velmire
