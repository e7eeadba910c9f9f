// Flags of YUY2 macropixels from their luma with SSE2: the edge rule runs on all sixteen bytes
// of a register, the results of the chroma bytes are masked off, and a macropixel is flagged
// when either of its two luma samples is an edge sample.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "simd/edge_bytes_sse2.h"

namespace velmire::simd {
namespace {

// Edge bytes of the luma samples of `groups` (2 or more: two; 1: one; less: none) groups of
// two macropixels starting at `group`; chroma bytes and bytes of absent groups are zero.
// Reads bytes group-2 .. group+8*groups+1.
inline __m128i LumaEdgesOfGroups(const uint8_t* group, int groups, __m128i threshold) {
  const __m128i lumaLanes = _mm_set1_epi16(0x00FF);
  if (groups >= 2) {
    auto load = [](const uint8_t* p) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    return _mm_and_si128(EdgeBytes(load(group - 2), load(group), load(group + 2), threshold),
                         lumaLanes);
  }
  if (groups == 1) {
    auto load = [](const uint8_t* p) {
      return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    };
    return _mm_and_si128(EdgeBytes(load(group - 2), load(group), load(group + 2), threshold),
                         lumaLanes);
  }
  return _mm_setzero_si128();
}

// 0xFF in all four bytes of each macropixel with a non-zero luma edge byte.
inline BlockFlags MacropixelFlags(__m128i lumaEdges) {
  if (IsAllZero(lumaEdges)) return NoFlags();
  return {_mm_xor_si128(_mm_cmpeq_epi32(lumaEdges, _mm_setzero_si128()), _mm_set1_epi32(-1)), true};
}

inline BlockFlags FlagsOfGroupsYUY2(const uint8_t* group, int groups, __m128i threshold) {
  return MacropixelFlags(LumaEdgesOfGroups(group, groups, threshold));
}

}  // namespace
}  // namespace velmire::simd
