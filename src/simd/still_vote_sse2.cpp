// The still blend's vote on the partners with SSE2, for planar rows and 8-bit packed YUY2 rows:
// the detail test of a block's eight luma samples and its sums of
// |a - b| and |a + b - 2 own| over eight chroma samples each in a few packed operations. The
// AVX2 set uses it too: a block's eight samples fill no wider register.
#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

__m128i Load32(const void* at) {
  int32_t value;
  std::memcpy(&value, at, sizeof value);
  return _mm_cvtsi32_si128(value);
}
__m128i Load64(const void* at) { return _mm_loadl_epi64(static_cast<const __m128i*>(at)); }
__m128i Load128(const void* at) { return _mm_loadu_si128(static_cast<const __m128i*>(at)); }

__m128i Abs32(__m128i v) {
  const __m128i sign = _mm_srai_epi32(v, 31);
  return _mm_sub_epi32(_mm_xor_si128(v, sign), sign);
}

// The two 64-bit lanes of the four non-negative 32-bit lanes' pairs added.
__m128i Widen64(__m128i v) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_add_epi64(_mm_unpacklo_epi32(v, zero), _mm_unpackhi_epi32(v, zero));
}

int64_t SumLanes64(__m128i v) {
  int64_t lanes[2];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), v);
  return lanes[0] + lanes[1];
}

}  // namespace

void StillVoteSse2(const uint8_t* luma, int lumaStride, const uint8_t* const u[3],
                   const uint8_t* const v[3], int chromaStride, const uint8_t* state,
                   uint8_t still, int end, int detail, int64_t* agree, int64_t* oppose) {
  const bool packed = lumaStride == 2 && chromaStride == 4;
  if (!packed && (lumaStride != 1 || chromaStride != 1)) {
    StillVotePortable(luma, lumaStride, u, v, chromaStride, state, still, end, detail, agree,
                      oppose);
    return;
  }
  const __m128i zero = _mm_setzero_si128();
  // Second differences of 8-bit samples lie within +-510: any larger limit is never passed.
  const __m128i limit = _mm_set1_epi16(static_cast<short>(std::min(detail, 1020)));
  const __m128i ones = _mm_set1_epi16(1);
  const __m128i lowBytes = _mm_set1_epi16(0x00FF);
  __m128i agreeSums = zero;   // 64-bit lanes
  __m128i opposeSums = zero;  // 32-bit lanes: at most 4 x 1020 a block each
  auto widen = [&](__m128i bytes) { return _mm_unpacklo_epi8(bytes, zero); };
  // Eight luma samples from sample i on, in 16-bit lanes: planar bytes, or every second byte
  // of a packed row (whose last block's reads stay inside the row's 4 chromaWidth bytes).
  auto lumaAt = [&](int i) {
    return packed ? _mm_and_si128(Load128(luma + 2 * i), lowBytes) : widen(Load64(luma + i));
  };
  // Frame f's four U then four V samples of the block in the low eight bytes: packed rows
  // hold them in the macropixels Y U Y V from u[f] - 1 on.
  auto block = [&](int f, int x) {
    if (!packed) return _mm_unpacklo_epi32(Load32(u[f] + x), Load32(v[f] + x));
    const __m128i macropixels = Load128(u[f] - 1 + 4 * x);
    const __m128i us = _mm_and_si128(_mm_srli_epi32(macropixels, 8), _mm_set1_epi32(0xFF));
    return _mm_packus_epi16(_mm_packs_epi32(us, _mm_srli_epi32(macropixels, 24)), zero);
  };
  for (int x = 4; x < end; x += 4) {
    if (state[x / 4] != still) continue;
    const int first = 2 * x;
    const __m128i centre = lumaAt(first);
    const __m128i second = _mm_sub_epi16(_mm_add_epi16(centre, centre),
                                         _mm_add_epi16(lumaAt(first - 1), lumaAt(first + 1)));
    const __m128i size = _mm_max_epi16(second, _mm_sub_epi16(zero, second));
    if (_mm_movemask_epi8(_mm_cmpgt_epi16(size, limit)) == 0) continue;
    const __m128i a = block(0, x), own = block(1, x), b = block(2, x);
    agreeSums = _mm_add_epi64(agreeSums, _mm_sad_epu8(a, b));
    const __m128i off = _mm_sub_epi16(_mm_add_epi16(widen(a), widen(b)),
                                      _mm_add_epi16(widen(own), widen(own)));
    opposeSums = _mm_add_epi32(
        opposeSums, _mm_madd_epi16(_mm_max_epi16(off, _mm_sub_epi16(zero, off)), ones));
  }
  *agree += SumLanes64(agreeSums);
  *oppose += SumLanes64(Widen64(opposeSums));
}

void StillVote16Sse2(const uint16_t* luma, int lumaStride, const uint16_t* const u[3],
                     const uint16_t* const v[3], int chromaStride, const uint8_t* state,
                     uint8_t still, int end, int detail, int64_t* agree, int64_t* oppose) {
  if (lumaStride != 1 || chromaStride != 1) {
    StillVotePortable(luma, lumaStride, u, v, chromaStride, state, still, end, detail, agree,
                      oppose);
    return;
  }
  const __m128i zero = _mm_setzero_si128();
  const __m128i limit = _mm_set1_epi32(detail);
  __m128i agreeSums = zero;   // 64-bit lanes
  __m128i opposeSums = zero;  // 64-bit lanes
  auto lo = [&](__m128i words) { return _mm_unpacklo_epi16(words, zero); };
  auto hi = [&](__m128i words) { return _mm_unpackhi_epi16(words, zero); };
  // |2 centre - left - right| > limit in any of four 32-bit lanes.
  auto exceeds = [&](__m128i left, __m128i centre, __m128i right) {
    const __m128i second = _mm_sub_epi32(_mm_add_epi32(centre, centre), _mm_add_epi32(left, right));
    return _mm_cmpgt_epi32(Abs32(second), limit);
  };
  for (int x = 4; x < end; x += 4) {
    if (state[x / 4] != still) continue;
    const uint16_t* y = luma + 2 * x;
    const __m128i left = Load128(y - 1), centre = Load128(y), right = Load128(y + 1);
    const __m128i over = _mm_or_si128(exceeds(lo(left), lo(centre), lo(right)),
                                      exceeds(hi(left), hi(centre), hi(right)));
    if (_mm_movemask_epi8(over) == 0) continue;
    auto block = [&](int f) { return _mm_unpacklo_epi64(Load64(u[f] + x), Load64(v[f] + x)); };
    const __m128i a = block(0), own = block(1), b = block(2);
    const __m128i apart = _mm_or_si128(_mm_subs_epu16(a, b), _mm_subs_epu16(b, a));
    agreeSums = _mm_add_epi64(agreeSums, Widen64(_mm_add_epi32(lo(apart), hi(apart))));
    auto off = [&](__m128i a32, __m128i own32, __m128i b32) {
      return Abs32(_mm_sub_epi32(_mm_add_epi32(a32, b32), _mm_add_epi32(own32, own32)));
    };
    opposeSums = _mm_add_epi64(
        opposeSums, Widen64(_mm_add_epi32(off(lo(a), lo(own), lo(b)), off(hi(a), hi(own), hi(b)))));
  }
  *agree += SumLanes64(agreeSums);
  *oppose += SumLanes64(opposeSums);
}

}  // namespace velmire::simd
