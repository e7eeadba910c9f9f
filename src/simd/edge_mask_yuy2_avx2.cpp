// YUY2 edge mask with AVX2: eight macropixels (four groups of the walk) per step; a block at
// the end of the walk with fewer groups is done in SSE2-sized halves.
#include <immintrin.h>

#include "detect/edge_mask.h"
#include "simd/edge_bytes_avx2.h"
#include "simd/edge_flags_yuy2_sse2.h"
#include "simd/margin_dispatch.h"
#include "simd/mask_row_walk.h"
#include "simd/mask_row_walk_avx2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kBytesPerMacropixel = 4;
constexpr int kFirstGroupByte = 16;  // macropixel 4
constexpr int kGroupBytes = 8;       // two macropixels
constexpr int kTrailingBytes = 16;   // the walk stops this far before the row's end
constexpr int kGroupsPerBlock = 4;

// Edge bytes of the samples of four groups starting at `group`; only the luma bytes (the low
// byte of every 16-bit lane) count. Reads bytes group-2 .. group+33.
inline __m256i EdgesOfFourGroups(const uint8_t* group, __m256i threshold) {
  return EdgeBytes256(Load256(group - 2), Load256(group), Load256(group + 2), threshold);
}

inline __m256i LumaLanes256() { return _mm256_set1_epi16(0x00FF); }

inline BlockFlags256 FlagsOfFourGroups(const uint8_t* group, __m256i threshold) {
  const __m256i edges = _mm256_and_si256(EdgesOfFourGroups(group, threshold), LumaLanes256());
  if (_mm256_testz_si256(edges, edges)) return {_mm256_setzero_si256(), false};
  return {
      _mm256_xor_si256(_mm256_cmpeq_epi32(edges, _mm256_setzero_si256()), _mm256_set1_epi32(-1)),
      true};
}

// Flags of fewer than four groups, in two halves.
inline BlockFlags256 FlagsOfLastGroups(const uint8_t* group, int groups, __m128i threshold) {
  const BlockFlags low = FlagsOfGroupsYUY2(group, groups, threshold);
  const BlockFlags high = FlagsOfGroupsYUY2(group + 16, groups - 2, threshold);
  return {Join(low.flags, high.flags), low.any || high.any};
}

}  // namespace

void BuildEdgeMaskYUY2Avx2(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                           int margin) {
  if (rowSize <= 2 * kTrailingBytes) return;
  const WalkExtent extent =
      WalkExtentOf(rowSize, kFirstGroupByte, kTrailingBytes, kGroupBytes, kGroupsPerBlock);
  const int groupCount = extent.groupCount;
  const int blockCount = extent.blockCount;
  // A trailing half macropixel is no chroma position and is never marked.
  const int limit = rowSize / kBytesPerMacropixel * kBytesPerMacropixel;
  const __m128i threshold = ThresholdBytes(thresholdY);
  const __m256i threshold256 = _mm256_broadcastsi128_si256(threshold);
  auto groupsOf = [&](int k) { return srcRow + kFirstGroupByte + 32 * k; };
  auto hasEdges = [&](int k) {
    const uint8_t* group = groupsOf(k);
    const __m256i spread = SpreadBytes256(Load256(group - 2), Load256(group + 2), threshold256);
    if (_mm256_testz_si256(spread, LumaLanes256())) return false;
    return !_mm256_testz_si256(EdgesOfFourGroups(group, threshold256), LumaLanes256());
  };
  auto flagsOf = [&](int k) {
    const int groups = groupCount - kGroupsPerBlock * k;
    return groups >= kGroupsPerBlock ? FlagsOfFourGroups(groupsOf(k), threshold256)
                                     : FlagsOfLastGroups(groupsOf(k), groups, threshold);
  };
  const bool walked = WithMargin(margin, [&]<int kMargin>() {
    WalkMaskRow<Avx2Blocks, kBytesPerMacropixel, kMargin>(
        mask, kFirstGroupByte, limit, blockCount, groupCount / kGroupsPerBlock, hasEdges, flagsOf);
  });
  if (!walked) BuildEdgeMaskYUY2Portable(srcRow, mask, rowSize, thresholdY, margin);
}

}  // namespace velmire::simd
