// The edge rule on sixteen luma samples at once, in unsigned saturating byte arithmetic.
//
// Helpers of the vector kernels live in an unnamed namespace: every file that includes them is
// compiled for its own instruction set, and internal linkage keeps the linker from merging a
// copy built for one set into code meant for another.
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace velmire::simd {
namespace {

// Non-zero bytes where `centre` lies strictly between `left` and `right` and the two
// neighbours differ by more than `threshold` (a clamped 0..255 threshold in every byte);
// zero bytes elsewhere. With lo and hi the smaller and larger neighbour, the centre lies
// strictly between them when both saturating differences centre - lo and hi - centre are
// non-zero, and the neighbours differ by hi - lo.
inline __m128i EdgeBytes(__m128i left, __m128i centre, __m128i right, __m128i threshold) {
  const __m128i lo = _mm_min_epu8(left, right);
  const __m128i hi = _mm_max_epu8(left, right);
  const __m128i between = _mm_min_epu8(_mm_subs_epu8(centre, lo), _mm_subs_epu8(hi, centre));
  return _mm_min_epu8(between, _mm_subs_epu8(_mm_sub_epi8(hi, lo), threshold));
}

// Non-zero bytes where the neighbours differ by more than the threshold: necessary for an edge
// sample and cheaper to test, so quiet stretches of a row are passed over on this alone.
inline __m128i SpreadBytes(__m128i left, __m128i right, __m128i threshold) {
  return _mm_subs_epu8(_mm_sub_epi8(_mm_max_epu8(left, right), _mm_min_epu8(left, right)),
                       threshold);
}

// The threshold as a byte in every lane. Below 0 it acts as 0 (a sample strictly between its
// neighbours already needs a spread of 2), above 255 as 255 (no spread exceeds it).
inline __m128i ThresholdBytes(int thresholdY) {
  const int clamped = thresholdY < 0 ? 0 : (thresholdY > 255 ? 255 : thresholdY);
  return _mm_set1_epi8(static_cast<char>(clamped));
}

inline __m128i LoadSixteen(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline bool IsAllZero(__m128i v) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) == 0xFFFF;
}

// Unwidened flags of one block of mask bytes: 0xFF in every byte of a flagged position. `any`
// tells whether any byte is set, so that blocks far from every flag cost little.
struct BlockFlags {
  __m128i flags;
  bool any;
};

inline constexpr BlockFlags NoFlags() { return BlockFlags{__m128i{}, false}; }

}  // namespace
}  // namespace velmire::simd
