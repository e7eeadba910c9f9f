// Vector versions of the pixel kernels for x86 processors. Each gives exactly the bytes of its
// portable counterpart (detect/edge_mask.h, yuy2/correct_block_yuy2.h,
// planar/correct_block_planar.h, and the stronger mode's partner blends) for every input, and
// reads no byte that the portable version does not read. The SSE2 versions run on every x86-64
// processor; the AVX2 ones only where the processor reports AVX2, which the caller checks
// before choosing them.
#pragma once

#include <cstdint>
#include <type_traits>

#include "detect/edge_mask.h"
#include "planar/correct_block_planar.h"
#include "stronger/still_kernels.h"
#include "yuy2/correct_block_yuy2.h"

// Each kernel is declared with the function type of its portable definition's pointer alias,
// once per instruction set that has it: name##Sse2, name##Avx2.
#define VELMIRE_VECTOR_KERNEL(Fn, name) std::remove_pointer_t<Fn> name
#define VELMIRE_SSE2_KERNEL(Fn, name) VELMIRE_VECTOR_KERNEL(Fn, name##Sse2)
#define VELMIRE_SSE2_AVX2_KERNEL(Fn, name) \
  VELMIRE_SSE2_KERNEL(Fn, name);           \
  VELMIRE_VECTOR_KERNEL(Fn, name##Avx2)

namespace velmire::simd {

VELMIRE_SSE2_AVX2_KERNEL(EdgeMaskYUY2Fn, BuildEdgeMaskYUY2);
VELMIRE_SSE2_AVX2_KERNEL(EdgeMaskPlanarFn, BuildEdgeMaskPlanar);
VELMIRE_SSE2_AVX2_KERNEL(EdgeMaskPlanar16Fn, BuildEdgeMaskPlanar16);

VELMIRE_SSE2_AVX2_KERNEL(CorrectBlockYUY2Fn, CorrectBlockYUY2);
VELMIRE_SSE2_KERNEL(CorrectBlockPlanarFn, CorrectBlockPlanar);
VELMIRE_SSE2_AVX2_KERNEL(CorrectBlockPlanar16Fn, CorrectBlockPlanar16);
VELMIRE_SSE2_AVX2_KERNEL(CorrectRowYUY2Fn, CorrectRowYUY2);
VELMIRE_SSE2_KERNEL(CorrectRowPlanarFnOf<uint8_t>, CorrectRowPlanar);
VELMIRE_SSE2_AVX2_KERNEL(CorrectRowPlanarFnOf<uint16_t>, CorrectRowPlanar16);

// The stronger mode's blend of one block with its partners, the shape of a block kernel.
VELMIRE_SSE2_KERNEL(CorrectBlockYUY2Fn, BlendBlockWithPartnersYUY2);
VELMIRE_SSE2_KERNEL(CorrectBlockPlanarFn, BlendBlockWithPartnersPlanar);

// The still blend's low-pass and blend of runs (stronger/still_kernels.h).
VELMIRE_SSE2_AVX2_KERNEL(LowpassedChunksFnOf<uint8_t>, LowpassedChunks);
VELMIRE_SSE2_AVX2_KERNEL(LowpassedChunksFnOf<uint16_t>, LowpassedChunks16);
VELMIRE_SSE2_AVX2_KERNEL(BlendStillRunFnOf<uint8_t>, BlendStillRun);
VELMIRE_SSE2_AVX2_KERNEL(BlendStillRunFnOf<uint16_t>, BlendStillRun16);
VELMIRE_SSE2_KERNEL(BlendStillRunFnOf<uint8_t>, BlendStillRunPacked);
VELMIRE_SSE2_KERNEL(StillVoteFnOf<uint8_t>, StillVote);
VELMIRE_SSE2_KERNEL(StillVoteFnOf<uint16_t>, StillVote16);
VELMIRE_SSE2_AVX2_KERNEL(BlendFiveRunFnOf<uint8_t>, BlendFiveRun);
VELMIRE_SSE2_AVX2_KERNEL(BlendFiveRunFnOf<uint8_t>, BlendFiveRunInterleaved);
VELMIRE_SSE2_AVX2_KERNEL(BlendFiveRunFnOf<uint16_t>, BlendFiveRun16);

}  // namespace velmire::simd
