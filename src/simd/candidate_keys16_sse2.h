// Choosing the best candidate of a 16-bit block search with packed minimums.
//
// A search keeps the first candidate whose difference is smallest, provided that difference is
// strictly below Noise. Differences of eight 16-bit samples reach 8 * 0xFFFF (19 bits), so
// each is combined with its candidate index into the 32-bit key (difference << 8) | index,
// below 2^27: the smallest key holds the smallest difference and, among equal differences, the
// earliest index, and no clamping is needed whatever Noise is. SSE2 has no 32-bit minimum, so
// it is built from a comparison and a select.
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace velmire::simd {
namespace {

constexpr int kIndexBits16 = 8;
constexpr int kMaxKeyedCandidates16 = 1 << kIndexBits16;
constexpr int32_t kNoKey16 = 0x7FFFFFFF;  // larger than every key, never accepted

inline __m128i MinKeys(__m128i a, __m128i b) {
  const __m128i aLarger = _mm_cmpgt_epi32(a, b);
  return _mm_or_si128(_mm_and_si128(aLarger, b), _mm_andnot_si128(aLarger, a));
}

// Keys of four differences (one per 32-bit lane) with the candidate index of each lane.
inline __m128i CandidateKeys16(__m128i differences, __m128i indices) {
  return _mm_or_si128(_mm_slli_epi32(differences, kIndexBits16), indices);
}

// Lanes whose index is `count` or more get kNoKey16.
inline __m128i DropIndicesFrom16(__m128i keys, __m128i indices, int count) {
  const __m128i absent = _mm_cmpgt_epi32(indices, _mm_set1_epi32(count - 1));
  return _mm_or_si128(keys, _mm_and_si128(absent, _mm_set1_epi32(kNoKey16)));
}

// The smallest of the four keys.
inline int32_t SmallestKey16(__m128i keys) {
  keys = MinKeys(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(1, 0, 3, 2)));
  keys = MinKeys(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(keys);
}

// Index of the winning candidate for `key` under `noise`, or -1 when none is accepted.
inline int AcceptedIndex16(int32_t key, int noise) {
  if (key == kNoKey16) return -1;
  return (key >> kIndexBits16) < noise ? (key & (kMaxKeyedCandidates16 - 1)) : -1;
}

}  // namespace
}  // namespace velmire::simd
