// Planar edge mask of 16-bit samples with AVX2: 32 chroma columns (eight groups of the walk,
// 64 luma samples in four registers) per step; a block at the end of the walk with fewer groups
// is done group by group in SSE2-sized registers.
#include <immintrin.h>

#include "detect/edge_mask.h"
#include "simd/edge_bytes_avx2.h"
#include "simd/edge_words_sse2.h"
#include "simd/margin_dispatch.h"
#include "simd/mask_row_walk.h"
#include "simd/mask_row_walk_avx2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kGroupsPerBlock = 8;
constexpr int kRegisters = 4;  // sixteen samples, two groups, each

inline __m256i LoadSixteenWords(const uint16_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Non-zero words where the neighbours differ by more than the threshold.
inline __m256i SpreadWords256(__m256i left, __m256i right, __m256i threshold) {
  return _mm256_subs_epu16(
      _mm256_sub_epi16(_mm256_max_epu16(left, right), _mm256_min_epu16(left, right)), threshold);
}

// Non-zero words where `centre` is an edge sample: as EdgeBytes256 on unsigned words.
inline __m256i EdgeWords256(__m256i left, __m256i centre, __m256i right, __m256i threshold) {
  const __m256i lo = _mm256_min_epu16(left, right);
  const __m256i hi = _mm256_max_epu16(left, right);
  const __m256i between =
      _mm256_min_epu16(_mm256_subs_epu16(centre, lo), _mm256_subs_epu16(hi, centre));
  return _mm256_min_epu16(between, _mm256_subs_epu16(_mm256_sub_epi16(hi, lo), threshold));
}

// Edge words of the 64 luma samples of eight groups whose luma starts at `luma`: reads
// luma[-1] .. luma[64].
struct EightGroupEdges {
  __m256i words[kRegisters];
};

inline EightGroupEdges EdgesOfEightGroups(const uint16_t* luma, __m256i threshold) {
  EightGroupEdges edges;
  for (int r = 0; r < kRegisters; ++r) {
    const uint16_t* at = luma + 16 * r;
    edges.words[r] = EdgeWords256(LoadSixteenWords(at - 1), LoadSixteenWords(at),
                                  LoadSixteenWords(at + 1), threshold);
  }
  return edges;
}

inline bool AnyEdges(const EightGroupEdges& edges) {
  const __m256i either = _mm256_or_si256(_mm256_or_si256(edges.words[0], edges.words[1]),
                                         _mm256_or_si256(edges.words[2], edges.words[3]));
  return !_mm256_testz_si256(either, either);
}

inline BlockFlags256 FlagsOfEightGroups(const uint16_t* luma, __m256i threshold) {
  const __m256i zero = _mm256_setzero_si256();
  const EightGroupEdges edges = EdgesOfEightGroups(luma, threshold);
  if (!AnyEdges(edges)) return {zero, false};
  // A column is unflagged when both its words are zero: a zero 32-bit lane. The packs work
  // within 128-bit halves and leave the 32-bit lanes (four columns each) in the order 0, 2, 4,
  // 6, 1, 3, 5, 7; the permute puts them back.
  __m256i unflagged[kRegisters];
  for (int r = 0; r < kRegisters; ++r) unflagged[r] = _mm256_cmpeq_epi32(edges.words[r], zero);
  const __m256i packed =
      _mm256_packs_epi16(_mm256_packs_epi32(unflagged[0], unflagged[1]),
                         _mm256_packs_epi32(unflagged[2], unflagged[3]));
  const __m256i ordered =
      _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
  return {_mm256_xor_si256(ordered, _mm256_set1_epi32(-1)), true};
}

// Flags of fewer than eight groups, in two halves.
inline BlockFlags256 FlagsOfLastGroups(const uint16_t* luma, int groups, __m128i threshold) {
  const int lowGroups = groups < 4 ? groups : 4;
  const BlockFlags low = FlagsOfGroupsPlanar16(luma, lowGroups, threshold);
  const BlockFlags high = FlagsOfGroupsPlanar16(luma + 32, groups - lowGroups, threshold);
  return {Join(low.flags, high.flags), low.any || high.any};
}

}  // namespace

void BuildEdgeMaskPlanar16Avx2(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                               int thresholdY, int margin) {
  if (chromaRowSize <= 2 * kPlanarTrailingColumns) return;
  const WalkExtent extent =
      WalkExtentOf(chromaRowSize, kPlanarFirstGroupColumn, kPlanarTrailingColumns,
                   kPlanarGroupColumns, kGroupsPerBlock);
  const int groupCount = extent.groupCount;
  const __m128i threshold = ThresholdWords(thresholdY);
  const __m256i threshold256 = _mm256_broadcastsi128_si256(threshold);
  auto lumaOf = [&](int k) { return lumaRow + 2 * (kPlanarFirstGroupColumn + 32 * k); };
  auto hasEdges = [&](int k) {
    const uint16_t* luma = lumaOf(k);
    __m256i spread = _mm256_setzero_si256();
    for (int r = 0; r < kRegisters; ++r) {
      const uint16_t* at = luma + 16 * r;
      spread = _mm256_or_si256(
          spread, SpreadWords256(LoadSixteenWords(at - 1), LoadSixteenWords(at + 1), threshold256));
    }
    if (_mm256_testz_si256(spread, spread)) return false;
    return AnyEdges(EdgesOfEightGroups(luma, threshold256));
  };
  auto flagsOf = [&](int k) {
    const int groups = groupCount - kGroupsPerBlock * k;
    return groups >= kGroupsPerBlock ? FlagsOfEightGroups(lumaOf(k), threshold256)
                                     : FlagsOfLastGroups(lumaOf(k), groups, threshold);
  };
  const bool walked = WithMargin(margin, [&]<int kMargin>() {
    WalkMaskRow<Avx2Blocks, 1, kMargin>(mask, kPlanarFirstGroupColumn, chromaRowSize,
                                        extent.blockCount, groupCount / kGroupsPerBlock,
                                        hasEdges, flagsOf);
  });
  if (!walked) BuildEdgeMaskPlanar16Portable(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

}  // namespace velmire::simd
