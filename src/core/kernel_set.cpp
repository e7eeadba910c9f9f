#include "core/kernel_set.h"

#include "core/simd_kernels.h"

namespace velmire {

std::string_view KernelSetName(const KernelSet& kernels) { return kernels.name; }

const KernelSet& PortableKernels() {
  static constexpr KernelSet kPortable{
      "portable",                    BuildEdgeMaskYUY2Portable,     BuildEdgeMaskPlanarPortable,
      CorrectBlockYUY2Portable,      CorrectBlockPlanarPortable,    BuildEdgeMaskPlanar16Portable,
      CorrectBlockPlanar16Portable,  BlendBlockWithPartnersYUY2,    BlendBlockWithPartnersPlanar<uint8_t>,
      BlendBlockWithPartnersPlanar<uint16_t>};
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
