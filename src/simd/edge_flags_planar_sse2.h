// Flags of planar chroma columns from their luma with SSE2: a column is flagged when either of
// its two luma samples is an edge sample.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "simd/edge_bytes_sse2.h"

namespace velmire::simd {
namespace {

// Edge bytes of the luma samples of `groups` (2 or more: two; 1: one; less: none) groups of
// four columns starting at `luma`; bytes of absent groups are zero. Reads luma[-1] ..
// luma[8 * groups].
inline __m128i EdgeBytesOfGroups(const uint8_t* luma, int groups, __m128i threshold) {
  if (groups >= 2) {
    auto load = [](const uint8_t* p) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    return EdgeBytes(load(luma - 1), load(luma), load(luma + 1), threshold);
  }
  if (groups == 1) {
    auto load = [](const uint8_t* p) {
      return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    };
    return EdgeBytes(load(luma - 1), load(luma), load(luma + 1), threshold);
  }
  return _mm_setzero_si128();
}

inline bool AnyEdges(__m128i lowEdges, __m128i highEdges) {
  return !IsAllZero(_mm_or_si128(lowEdges, highEdges));
}

// Column flags from the edge bytes of 32 consecutive luma samples: 0xFF for column k when
// sample 2k or 2k+1 is an edge sample.
inline BlockFlags ColumnFlags(__m128i lowEdges, __m128i highEdges) {
  if (!AnyEdges(lowEdges, highEdges)) return NoFlags();
  const __m128i zero = _mm_setzero_si128();
  const __m128i unflagged =
      _mm_packs_epi16(_mm_cmpeq_epi16(lowEdges, zero), _mm_cmpeq_epi16(highEdges, zero));
  return {_mm_xor_si128(unflagged, _mm_set1_epi32(-1)), true};
}

// Flags of `groups` (0 .. 4) groups of four columns whose luma starts at `luma`, those of
// absent groups zero. Reads luma[-1] .. luma[8 * groups].
inline BlockFlags FlagsOfGroupsPlanar(const uint8_t* luma, int groups, __m128i threshold) {
  const int low = groups < 2 ? groups : 2;
  return ColumnFlags(EdgeBytesOfGroups(luma, low, threshold),
                     EdgeBytesOfGroups(luma + 16, groups - low, threshold));
}

}  // namespace
}  // namespace velmire::simd
