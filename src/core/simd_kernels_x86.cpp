// Vector kernel sets for x86 processors: SSE2 wherever the processor has it (every x86-64
// processor does; 32-bit ones are asked), AVX2 on top where the processor and the operating
// system support it. The AVX2 set is the SSE2 set with its own mask routines and its own YUY2
// and 16-bit planar searches (whose 16-byte blocks fill a 32-byte register two at a time); its
// 8-bit planar search stays SSE2, since two 8-byte blocks already share one psadbw.
#include "core/simd_kernels.h"
#include "simd/vector_kernels.h"

namespace velmire {
namespace {

constexpr KernelSet kSse2{
    .name = "sse2",
    .edgeMaskYUY2 = simd::BuildEdgeMaskYUY2Sse2,
    .edgeMaskPlanar = simd::BuildEdgeMaskPlanarSse2,
    .edgeMaskPlanar16 = simd::BuildEdgeMaskPlanar16Sse2,
    .correctBlockYUY2 = simd::CorrectBlockYUY2Sse2,
    .correctBlockPlanar = simd::CorrectBlockPlanarSse2,
    .correctBlockPlanar16 = simd::CorrectBlockPlanar16Sse2,
    .correctRowYUY2 = simd::CorrectRowYUY2Sse2,
    .correctRowPlanar = simd::CorrectRowPlanarSse2,
    .correctRowPlanar16 = simd::CorrectRowPlanar16Sse2,
    .still = {simd::LowpassedChunksSse2, simd::BlendStillRunSse2, simd::BlendStillRunPackedSse2,
              simd::StillVoteSse2, simd::BlendFiveRunSse2, simd::BlendFiveRunInterleavedSse2},
    .still16 = {simd::LowpassedChunks16Sse2, simd::BlendStillRun16Sse2,
                BlendStillRunPackedPortable<uint16_t>, simd::StillVote16Sse2,
                simd::BlendFiveRun16Sse2, BlendFiveRunInterleavedPortable<uint16_t>},
};

constexpr KernelSet Avx2Set() {
  KernelSet set = kSse2;
  set.name = "avx2";
  set.edgeMaskYUY2 = simd::BuildEdgeMaskYUY2Avx2;
  set.edgeMaskPlanar = simd::BuildEdgeMaskPlanarAvx2;
  set.edgeMaskPlanar16 = simd::BuildEdgeMaskPlanar16Avx2;
  set.correctBlockYUY2 = simd::CorrectBlockYUY2Avx2;
  set.correctRowYUY2 = simd::CorrectRowYUY2Avx2;
  set.correctBlockPlanar16 = simd::CorrectBlockPlanar16Avx2;
  set.correctRowPlanar16 = simd::CorrectRowPlanar16Avx2;
  set.still = {simd::LowpassedChunksAvx2, simd::BlendStillRunAvx2, simd::BlendStillRunPackedSse2,
               simd::StillVoteSse2, simd::BlendFiveRunAvx2, simd::BlendFiveRunInterleavedAvx2};
  set.still16 = {simd::LowpassedChunks16Avx2, simd::BlendStillRun16Avx2,
                 BlendStillRunPackedPortable<uint16_t>, simd::StillVote16Sse2,
                 simd::BlendFiveRun16Avx2, BlendFiveRunInterleavedPortable<uint16_t>};
  return set;
}

constexpr KernelSet kAvx2 = Avx2Set();

}  // namespace

void AppendVectorKernels(std::vector<const KernelSet*>& sets) {
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("sse2")) return;
  sets.push_back(&kSse2);
  if (__builtin_cpu_supports("avx2")) sets.push_back(&kAvx2);
}

}  // namespace velmire
