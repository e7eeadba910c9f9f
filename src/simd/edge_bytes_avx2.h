// The edge rule on 32 luma samples at once; see edge_bytes_sse2.h.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace velmire::simd {
namespace {

// Non-zero bytes where the neighbours differ by more than the threshold: necessary for an edge
// sample and cheaper to test, so quiet stretches of a row are passed over on this alone.
inline __m256i SpreadBytes256(__m256i left, __m256i right, __m256i threshold) {
  return _mm256_subs_epu8(
      _mm256_sub_epi8(_mm256_max_epu8(left, right), _mm256_min_epu8(left, right)), threshold);
}

inline __m256i EdgeBytes256(__m256i left, __m256i centre, __m256i right, __m256i threshold) {
  const __m256i lo = _mm256_min_epu8(left, right);
  const __m256i hi = _mm256_max_epu8(left, right);
  const __m256i between =
      _mm256_min_epu8(_mm256_subs_epu8(centre, lo), _mm256_subs_epu8(hi, centre));
  return _mm256_min_epu8(between, _mm256_subs_epu8(_mm256_sub_epi8(hi, lo), threshold));
}

// Unwidened flags of one 32-byte block of mask bytes, with whether any byte is set.
struct BlockFlags256 {
  __m256i flags;
  bool any;
};

inline __m256i Load256(const uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

inline __m256i Join(__m128i low, __m128i high) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

}  // namespace
}  // namespace velmire::simd
