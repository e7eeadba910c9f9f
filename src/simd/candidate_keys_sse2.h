// Choosing the best candidate of a block search with packed minimums.
//
// A search keeps the first candidate whose difference is smallest, provided that difference is
// strictly below Noise. With Noise at most 255, differences of 255 and more can never win, so
// each candidate's difference is clamped to 255 and combined with its index into the 16-bit
// key (clamped difference << 7) | index. The smallest key then holds the smallest difference
// and, among equal differences, the earliest index; its difference is accepted when below
// Noise. Keys stay within 0 .. 0x7FFF, so signed 16-bit minimums order them.
#pragma once

#include <emmintrin.h>

namespace velmire::simd {
namespace {

constexpr int kIndexBits = 7;
constexpr int kMaxKeyedCandidates = 1 << kIndexBits;
constexpr int kLargestKeyedNoise = 255;
constexpr short kNoKey = 0x7FFF;  // a key that can never be accepted

// Keys of eight differences (one per 16-bit lane) with the candidate index of each lane.
inline __m128i CandidateKeys(__m128i differences, __m128i indices) {
  const __m128i clamped = _mm_min_epi16(differences, _mm_set1_epi16(kLargestKeyedNoise));
  return _mm_or_si128(_mm_slli_epi16(clamped, kIndexBits), indices);
}

// Lanes whose index is `count` or more get kNoKey.
inline __m128i DropIndicesFrom(__m128i keys, __m128i indices, int count) {
  const __m128i absent = _mm_cmpgt_epi16(indices, _mm_set1_epi16(static_cast<short>(count - 1)));
  return _mm_or_si128(_mm_andnot_si128(absent, keys),
                      _mm_and_si128(absent, _mm_set1_epi16(kNoKey)));
}

// Four pairs of differences, as psadbw leaves them (pair p: its first difference in the low
// 16 bits of the low half, its second in the low 16 bits of the high half), gathered into one
// lane each: lanes 0..3 hold the first of pairs 0..3, lanes 4..7 the second of pairs 0..3.
inline __m128i GatherPairs(__m128i p0, __m128i p1, __m128i p2, __m128i p3) {
  return _mm_or_si128(_mm_or_si128(p0, _mm_slli_epi64(p1, 16)),
                      _mm_or_si128(_mm_slli_epi64(p2, 32), _mm_slli_epi64(p3, 48)));
}

// Candidate indices of the lanes of GatherPairs when pair p holds candidates first+2p and
// first+2p+1.
inline __m128i GatheredPairIndices(int first) {
  return _mm_add_epi16(_mm_set1_epi16(static_cast<short>(first)),
                       _mm_setr_epi16(0, 2, 4, 6, 1, 3, 5, 7));
}

// The smallest of the eight keys.
inline int SmallestKey(__m128i keys) {
  keys = _mm_min_epi16(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(1, 0, 3, 2)));
  keys = _mm_min_epi16(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(2, 3, 0, 1)));
  keys = _mm_min_epi16(keys, _mm_shufflelo_epi16(keys, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(keys) & 0xFFFF;
}

// Index of the winning candidate for `key` under `noise`, or -1 when none is accepted.
inline int AcceptedIndex(int key, int noise) {
  return (key >> kIndexBits) < noise ? (key & (kMaxKeyedCandidates - 1)) : -1;
}

}  // namespace
}  // namespace velmire::simd
