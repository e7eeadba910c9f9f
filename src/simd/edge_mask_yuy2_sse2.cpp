// YUY2 edge mask with SSE2: four macropixels (two groups of the walk) per step.
#include <emmintrin.h>

#include "detect/edge_mask.h"
#include "simd/edge_flags_yuy2_sse2.h"
#include "simd/margin_dispatch.h"
#include "simd/mask_row_walk.h"
#include "simd/mask_row_walk_sse2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kBytesPerMacropixel = 4;
constexpr int kFirstGroupByte = 16;  // macropixel 4
constexpr int kGroupBytes = 8;       // two macropixels
constexpr int kTrailingBytes = 16;   // the walk stops this far before the row's end
constexpr int kGroupsPerBlock = 2;

}  // namespace

void BuildEdgeMaskYUY2Sse2(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                           int margin) {
  if (rowSize <= 2 * kTrailingBytes) return;
  const WalkExtent extent =
      WalkExtentOf(rowSize, kFirstGroupByte, kTrailingBytes, kGroupBytes, kGroupsPerBlock);
  const int groupCount = extent.groupCount;
  const int blockCount = extent.blockCount;
  // A trailing half macropixel is no chroma position and is never marked.
  const int limit = rowSize / kBytesPerMacropixel * kBytesPerMacropixel;
  const __m128i threshold = ThresholdBytes(thresholdY);
  auto groupsOf = [&](int k) { return srcRow + kFirstGroupByte + 16 * k; };
  const __m128i lumaLanes = _mm_set1_epi16(0x00FF);
  auto hasEdges = [&](int k) {
    const uint8_t* group = groupsOf(k);
    const __m128i spread = SpreadBytes(LoadSixteen(group - 2), LoadSixteen(group + 2), threshold);
    if (IsAllZero(_mm_and_si128(spread, lumaLanes))) return false;
    return !IsAllZero(LumaEdgesOfGroups(group, kGroupsPerBlock, threshold));
  };
  auto flagsOf = [&](int k) {
    return FlagsOfGroupsYUY2(groupsOf(k), groupCount - kGroupsPerBlock * k, threshold);
  };
  const bool walked = WithMargin(margin, [&]<int kMargin>() {
    WalkMaskRow<Sse2Blocks, kBytesPerMacropixel, kMargin>(
        mask, kFirstGroupByte, limit, blockCount, groupCount / kGroupsPerBlock, hasEdges, flagsOf);
  });
  if (!walked) BuildEdgeMaskYUY2Portable(srcRow, mask, rowSize, thresholdY, margin);
}

}  // namespace velmire::simd
