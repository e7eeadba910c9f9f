// Planar edge mask with SSE2: sixteen chroma columns (four groups of the walk, 32 luma samples)
// per step.
#include <emmintrin.h>

#include "detect/edge_mask.h"
#include "simd/edge_flags_planar_sse2.h"
#include "simd/margin_dispatch.h"
#include "simd/mask_row_walk.h"
#include "simd/mask_row_walk_sse2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kGroupsPerBlock = 4;

}  // namespace

void BuildEdgeMaskPlanarSse2(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                             int thresholdY, int margin) {
  if (chromaRowSize <= 2 * kPlanarTrailingColumns) return;
  const WalkExtent extent =
      WalkExtentOf(chromaRowSize, kPlanarFirstGroupColumn, kPlanarTrailingColumns,
                   kPlanarGroupColumns, kGroupsPerBlock);
  const int groupCount = extent.groupCount;
  const int blockCount = extent.blockCount;
  const __m128i threshold = ThresholdBytes(thresholdY);
  auto lumaOf = [&](int k) { return lumaRow + 2 * (kPlanarFirstGroupColumn + 16 * k); };
  auto hasEdges = [&](int k) {
    const uint8_t* luma = lumaOf(k);
    const __m128i spread =
        _mm_or_si128(SpreadBytes(LoadSixteen(luma - 1), LoadSixteen(luma + 1), threshold),
                     SpreadBytes(LoadSixteen(luma + 15), LoadSixteen(luma + 17), threshold));
    if (IsAllZero(spread)) return false;
    return AnyEdges(EdgeBytesOfGroups(luma, 2, threshold),
                    EdgeBytesOfGroups(luma + 16, 2, threshold));
  };
  auto flagsOf = [&](int k) {
    const int groups = groupCount - kGroupsPerBlock * k;
    return FlagsOfGroupsPlanar(lumaOf(k), groups < kGroupsPerBlock ? groups : kGroupsPerBlock,
                               threshold);
  };
  const bool walked = WithMargin(margin, [&]<int kMargin>() {
    WalkMaskRow<Sse2Blocks, 1, kMargin>(mask, kPlanarFirstGroupColumn, chromaRowSize, blockCount,
                                        groupCount / kGroupsPerBlock, hasEdges, flagsOf);
  });
  if (!walked) BuildEdgeMaskPlanarPortable(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

}  // namespace velmire::simd
