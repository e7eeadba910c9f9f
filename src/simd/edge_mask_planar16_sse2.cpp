// Planar edge mask of 16-bit samples with SSE2: sixteen chroma columns (four groups of the
// walk, one register of eight luma samples each) per step.
#include <emmintrin.h>

#include "detect/edge_mask.h"
#include "simd/edge_words_sse2.h"
#include "simd/margin_dispatch.h"
#include "simd/mask_row_walk.h"
#include "simd/mask_row_walk_sse2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kGroupsPerBlock = 4;

}  // namespace

void BuildEdgeMaskPlanar16Sse2(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                               int thresholdY, int margin) {
  if (chromaRowSize <= 2 * kPlanarTrailingColumns) return;
  const WalkExtent extent =
      WalkExtentOf(chromaRowSize, kPlanarFirstGroupColumn, kPlanarTrailingColumns,
                   kPlanarGroupColumns, kGroupsPerBlock);
  const int groupCount = extent.groupCount;
  const __m128i threshold = ThresholdWords(thresholdY);
  auto lumaOf = [&](int k) { return lumaRow + 2 * (kPlanarFirstGroupColumn + 16 * k); };
  auto groupsOf = [&](int k) {
    const int groups = groupCount - kGroupsPerBlock * k;
    return groups < kGroupsPerBlock ? groups : kGroupsPerBlock;
  };
  auto hasEdges = [&](int k) {
    return AnySpreadOfGroups(lumaOf(k), kGroupsPerBlock, threshold) &&
           FlagsOfGroupsPlanar16(lumaOf(k), kGroupsPerBlock, threshold).any;
  };
  auto flagsOf = [&](int k) { return FlagsOfGroupsPlanar16(lumaOf(k), groupsOf(k), threshold); };
  const bool walked = WithMargin(margin, [&]<int kMargin>() {
    WalkMaskRow<Sse2Blocks, 1, kMargin>(mask, kPlanarFirstGroupColumn, chromaRowSize,
                                        extent.blockCount, groupCount / kGroupsPerBlock,
                                        hasEdges, flagsOf);
  });
  if (!walked) BuildEdgeMaskPlanar16Portable(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

}  // namespace velmire::simd
