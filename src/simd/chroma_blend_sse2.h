// Packed pieces of the chroma blend: the truncating average and the byte-wise select.
#pragma once

#include <emmintrin.h>

namespace velmire::simd {
namespace {

// (a + b) >> 1 in every byte, without loss: pavgb rounds up, so the lost low bit is taken off
// where a and b differ in it.
inline __m128i FloorAverage(__m128i a, __m128i b) {
  const __m128i roundedUp = _mm_avg_epu8(a, b);
  return _mm_sub_epi8(roundedUp, _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1)));
}

// Bytes of `chosen` where `select` is 0xFF, of `kept` where it is 0x00.
inline __m128i SelectBytes(__m128i select, __m128i chosen, __m128i kept) {
  return _mm_or_si128(_mm_and_si128(select, chosen), _mm_andnot_si128(select, kept));
}

// 0xFF for every non-zero byte of `v`, 0x00 for zero bytes.
inline __m128i NonZeroBytes(__m128i v) {
  return _mm_xor_si128(_mm_cmpeq_epi8(v, _mm_setzero_si128()), _mm_set1_epi32(-1));
}

}  // namespace
}  // namespace velmire::simd
