// The edge rule on eight 16-bit luma samples at once with SSE2, and the column flags of planar
// groups built from it. Samples are unsigned 16-bit values of any size (a source may exceed its
// nominal depth), so the arithmetic is unsigned saturating throughout: SSE2 has no unsigned
// 16-bit minimum or maximum, and signed comparisons would misorder samples of 0x8000 and more.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "simd/edge_bytes_sse2.h"

namespace velmire::simd {
namespace {

inline __m128i LoadEightWords(const uint16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The threshold as a word in every lane. Below 0 it acts as 0 (a sample strictly between its
// neighbours already needs a spread of 2), above 0xFFFF as 0xFFFF (no spread exceeds it).
inline __m128i ThresholdWords(int thresholdY) {
  const int clamped = thresholdY < 0 ? 0 : (thresholdY > 0xFFFF ? 0xFFFF : thresholdY);
  return _mm_set1_epi16(static_cast<short>(clamped));
}

// Non-zero words where the neighbours differ by more than the threshold: necessary for an edge
// sample and cheaper to test, so quiet stretches of a row are passed over on this alone.
inline __m128i SpreadWords(__m128i left, __m128i right, __m128i threshold) {
  const __m128i spread = _mm_or_si128(_mm_subs_epu16(left, right), _mm_subs_epu16(right, left));
  return _mm_subs_epu16(spread, threshold);
}

// 0xFFFF where `centre` is not an edge sample, 0 where it is. With lo and hi the smaller and
// larger neighbour (left - (left -sat right) and right + (left -sat right)), the centre lies
// strictly between them when both saturating differences centre - lo and hi - centre are
// non-zero, and the neighbours differ by hi - lo.
inline __m128i NotEdgeWords(__m128i left, __m128i centre, __m128i right, __m128i threshold) {
  const __m128i leftAbove = _mm_subs_epu16(left, right);
  const __m128i lo = _mm_sub_epi16(left, leftAbove);
  const __m128i hi = _mm_add_epi16(right, leftAbove);
  const __m128i zero = _mm_setzero_si128();
  const __m128i tooFlat = _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(hi, lo), threshold), zero);
  const __m128i notAboveLo = _mm_cmpeq_epi16(_mm_subs_epu16(centre, lo), zero);
  const __m128i notBelowHi = _mm_cmpeq_epi16(_mm_subs_epu16(hi, centre), zero);
  return _mm_or_si128(tooFlat, _mm_or_si128(notAboveLo, notBelowHi));
}

// One group of four chroma columns whose luma starts at `luma`: 0xFFFFFFFF in the 32-bit lane
// of each column with no edge sample among its two luma samples. Reads luma[-1 .. 8].
inline __m128i UnflaggedColumns(const uint16_t* luma, __m128i threshold) {
  const __m128i notEdge = NotEdgeWords(LoadEightWords(luma - 1), LoadEightWords(luma),
                                       LoadEightWords(luma + 1), threshold);
  return _mm_cmpeq_epi32(notEdge, _mm_set1_epi32(-1));
}

// Whether any of `groups` groups whose luma starts at `luma` has neighbours spread more than
// the threshold. Reads luma[-1 .. 8 * groups].
inline bool AnySpreadOfGroups(const uint16_t* luma, int groups, __m128i threshold) {
  __m128i spread = _mm_setzero_si128();
  for (int g = 0; g < groups; ++g) {
    spread = _mm_or_si128(
        spread, SpreadWords(LoadEightWords(luma + 8 * g - 1), LoadEightWords(luma + 8 * g + 1),
                            threshold));
  }
  return !IsAllZero(spread);
}

// Flags of `groups` (0 .. 4) groups of four columns whose luma starts at `luma`, those of
// absent groups zero: one mask byte per column. Reads luma[-1 .. 8 * groups].
inline BlockFlags FlagsOfGroupsPlanar16(const uint16_t* luma, int groups, __m128i threshold) {
  __m128i unflagged[4];
  for (int g = 0; g < 4; ++g) {
    unflagged[g] = g < groups ? UnflaggedColumns(luma + 8 * g, threshold) : _mm_set1_epi32(-1);
  }
  const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(unflagged[0], unflagged[1]),
                                        _mm_packs_epi32(unflagged[2], unflagged[3]));
  if (_mm_movemask_epi8(bytes) == 0xFFFF) return NoFlags();
  return {_mm_xor_si128(bytes, _mm_set1_epi32(-1)), true};
}

}  // namespace
}  // namespace velmire::simd
