// Planar edge mask with AVX2: 32 chroma columns (eight groups of the walk, 64 luma samples) per
// step; a block at the end of the walk with fewer groups is done in SSE2-sized halves.
#include <immintrin.h>

#include "detect/edge_mask.h"
#include "simd/edge_bytes_avx2.h"
#include "simd/edge_flags_planar_sse2.h"
#include "simd/margin_dispatch.h"
#include "simd/mask_row_walk.h"
#include "simd/mask_row_walk_avx2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kGroupsPerBlock = 8;

// Edge bytes of the 64 luma samples of eight groups whose luma starts at `luma`: reads
// luma[-1] .. luma[64].
struct EightGroupEdges {
  __m256i low, high;
};

inline EightGroupEdges EdgesOfEightGroups(const uint8_t* luma, __m256i threshold) {
  return {EdgeBytes256(Load256(luma - 1), Load256(luma), Load256(luma + 1), threshold),
          EdgeBytes256(Load256(luma + 31), Load256(luma + 32), Load256(luma + 33), threshold)};
}

inline bool AnyEdges(const EightGroupEdges& edges) {
  const __m256i either = _mm256_or_si256(edges.low, edges.high);
  return !_mm256_testz_si256(either, either);
}

inline BlockFlags256 FlagsOfEightGroups(const uint8_t* luma, __m256i threshold) {
  const __m256i zero = _mm256_setzero_si256();
  const EightGroupEdges edges = EdgesOfEightGroups(luma, threshold);
  if (!AnyEdges(edges)) return {zero, false};
  // The pack works within 128-bit halves; the permute puts the four quarters back in order.
  const __m256i unflagged =
      _mm256_packs_epi16(_mm256_cmpeq_epi16(edges.low, zero), _mm256_cmpeq_epi16(edges.high, zero));
  return {_mm256_xor_si256(_mm256_permute4x64_epi64(unflagged, _MM_SHUFFLE(3, 1, 2, 0)),
                           _mm256_set1_epi32(-1)),
          true};
}

// Flags of fewer than eight groups, in two halves.
inline BlockFlags256 FlagsOfLastGroups(const uint8_t* luma, int groups, __m128i threshold) {
  const int lowGroups = groups < 4 ? groups : 4;
  const BlockFlags low = FlagsOfGroupsPlanar(luma, lowGroups, threshold);
  const BlockFlags high = FlagsOfGroupsPlanar(luma + 32, groups - lowGroups, threshold);
  return {Join(low.flags, high.flags), low.any || high.any};
}

}  // namespace

void BuildEdgeMaskPlanarAvx2(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                             int thresholdY, int margin) {
  if (chromaRowSize <= 2 * kPlanarTrailingColumns) return;
  const WalkExtent extent =
      WalkExtentOf(chromaRowSize, kPlanarFirstGroupColumn, kPlanarTrailingColumns,
                   kPlanarGroupColumns, kGroupsPerBlock);
  const int groupCount = extent.groupCount;
  const int blockCount = extent.blockCount;
  const __m128i threshold = ThresholdBytes(thresholdY);
  const __m256i threshold256 = _mm256_broadcastsi128_si256(threshold);
  auto lumaOf = [&](int k) { return lumaRow + 2 * (kPlanarFirstGroupColumn + 32 * k); };
  auto hasEdges = [&](int k) {
    const uint8_t* luma = lumaOf(k);
    const __m256i spread =
        _mm256_or_si256(SpreadBytes256(Load256(luma - 1), Load256(luma + 1), threshold256),
                        SpreadBytes256(Load256(luma + 31), Load256(luma + 33), threshold256));
    if (_mm256_testz_si256(spread, spread)) return false;
    return AnyEdges(EdgesOfEightGroups(luma, threshold256));
  };
  auto flagsOf = [&](int k) {
    const int groups = groupCount - kGroupsPerBlock * k;
    return groups >= kGroupsPerBlock ? FlagsOfEightGroups(lumaOf(k), threshold256)
                                     : FlagsOfLastGroups(lumaOf(k), groups, threshold);
  };
  const bool walked = WithMargin(margin, [&]<int kMargin>() {
    WalkMaskRow<Avx2Blocks, 1, kMargin>(mask, kPlanarFirstGroupColumn, chromaRowSize, blockCount,
                                        groupCount / kGroupsPerBlock, hasEdges, flagsOf);
  });
  if (!walked) BuildEdgeMaskPlanarPortable(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

}  // namespace velmire::simd
