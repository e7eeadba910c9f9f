// Vector kernel set for 64-bit ARM processors: NEON is part of the AArch64 base architecture,
// so every processor this build runs on has it and nothing needs asking. The stronger mode's
// partner blend stays portable inside the row kernels.
#include "core/simd_kernels.h"
#include "neon/neon_kernels.h"

namespace velmire {
namespace {

constexpr KernelSet kNeon{
    .name = "neon",
    .edgeMaskYUY2 = neon::BuildEdgeMaskYUY2Neon,
    .edgeMaskPlanar = neon::BuildEdgeMaskPlanarNeon,
    .edgeMaskPlanar16 = neon::BuildEdgeMaskPlanar16Neon,
    .correctBlockYUY2 = neon::CorrectBlockYUY2Neon,
    .correctBlockPlanar = neon::CorrectBlockPlanarNeon,
    .correctBlockPlanar16 = neon::CorrectBlockPlanar16Neon,
    .correctRowYUY2 = neon::CorrectRowYUY2Neon,
    .correctRowPlanar = neon::CorrectRowPlanarNeon,
    .correctRowPlanar16 = neon::CorrectRowPlanar16Neon,
    .still = PortableStillKernels<uint8_t>(),
    .still16 = PortableStillKernels<uint16_t>(),
};

}  // namespace

void AppendVectorKernels(std::vector<const KernelSet*>& sets) { sets.push_back(&kNeon); }

}  // namespace velmire
