// The still blend's kernels with SSE2 (stronger/still_kernels.h): the low-pass and the blends
// of runs in 16-bit lanes (simd/still_lowpass_walk.h, simd/still_blend_walk.h), and the
// three-frame blend of YUY2's U or V bytes in 32-bit lanes.
#include <emmintrin.h>

#include <cstdint>

#include "simd/still_blend_walk.h"
#include "simd/still_lowpass_walk.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

template <typename W>
__m128i LoadWork(const W* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
template <typename W>
void StoreWork(W* at, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v); }
__m128i Load64(const void* at) { return _mm_loadl_epi64(static_cast<const __m128i*>(at)); }

struct Lanes16 {
  using Work = int16_t;
  static constexpr int kLanes = 8;
  static __m128i Set1(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static __m128i Load(const Work* at) { return LoadWork(at); }
  static void Store(Work* at, __m128i v) { StoreWork(at, v); }
  static __m128i Add(__m128i a, __m128i b) { return _mm_add_epi16(a, b); }
  static __m128i ShiftRight(__m128i v, __m128i count) { return _mm_sra_epi16(v, count); }
  static __m128i Abs(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }
  static __m128i Difference(const uint8_t* now, const uint8_t* then, __m128i) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_sub_epi16(_mm_unpacklo_epi8(Load64(now), zero),
                         _mm_unpacklo_epi8(Load64(then), zero));
  }
  // Each sample at most max: a - (a - max, saturated at 0).
  static __m128i Difference(const uint16_t* now, const uint16_t* then, __m128i max) {
    const __m128i a = LoadWork(now), b = LoadWork(then);
    return _mm_sub_epi16(_mm_sub_epi16(a, _mm_subs_epu16(a, max)),
                         _mm_sub_epi16(b, _mm_subs_epu16(b, max)));
  }
  static __m128i DifferencePacked(const uint8_t* now, const uint8_t* then) {
    const __m128i luma = _mm_set1_epi16(0x00FF);
    return _mm_sub_epi16(_mm_and_si128(LoadWork(now), luma), _mm_and_si128(LoadWork(then), luma));
  }
  static void ChunkPair(const Work* at, int32_t* chunks) {
    const __m128i ones = _mm_set1_epi16(1);
    StoreChunkPair(chunks,
                   PairSums(_mm_madd_epi16(AbsoluteLowpass<Lanes16>(at), ones),
                            _mm_madd_epi16(AbsoluteLowpass<Lanes16>(at + 8), ones)));
  }
};

// (a + 2 own + b + half) >> 2 or (a + b + half) >> 1 in 32-bit lanes, at most maxValue.
__m128i Blend32(__m128i a, __m128i own, __m128i b, bool partnersAlike, int shift, __m128i max) {
  const __m128i sum = _mm_add_epi32(a, b);
  const __m128i blended =
      partnersAlike
          ? _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(sum, _mm_add_epi32(own, own)),
                                         _mm_set1_epi32(2 << shift)), 2)
          : _mm_srli_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1 << shift)), 1);
  const __m128i over = _mm_cmpgt_epi32(blended, max);
  return _mm_or_si128(_mm_and_si128(over, max), _mm_andnot_si128(over, blended));
}

// The blends' lanes: 16-bit, eight samples a step.
struct BlendLanes {
  static constexpr int kSamples = 8;
  static __m128i Set1(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static __m128i AddSaturated(__m128i a, __m128i b) { return _mm_adds_epu16(a, b); }
  static __m128i ShiftRight(__m128i v, __m128i count) { return _mm_srl_epi16(v, count); }
  // Results are at most 8191, so the signed minimum serves.
  static __m128i Min(__m128i a, __m128i b) { return _mm_min_epi16(a, b); }
};
struct BlendPlanar : BlendLanes {
  static __m128i Load(const uint8_t* at) {
    return _mm_unpacklo_epi8(Load64(at), _mm_setzero_si128());
  }
  static void Store(uint8_t* at, __m128i v) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), _mm_packus_epi16(v, v));
  }
};
// YUY2's U and V bytes from the first U: the low byte of each 16-bit lane.
struct BlendInterleaved : BlendLanes {
  static __m128i Load(const uint8_t* at) {
    return _mm_and_si128(LoadWork(at), _mm_set1_epi16(0x00FF));
  }
  static void Store(uint8_t* at, __m128i v) {
    StoreWork(at, _mm_or_si128(_mm_and_si128(LoadWork(at), _mm_set1_epi16(short(0xFF00))), v));
  }
};
struct BlendWords : BlendLanes {
  static __m128i Load(const uint16_t* at) { return LoadWork(at); }
  static void Store(uint16_t* at, __m128i v) { StoreWork(at, v); }
};

}  // namespace

void LowpassedChunksSse2(const uint8_t* const now[2], const uint8_t* const then[2], int rows,
                         int n, int stride, int shift, int16_t* d, int16_t* t, int32_t* chunks) {
  LowpassedChunksWalk<Lanes16>(now, then, rows, n, stride, shift, d, t, chunks);
}

void LowpassedChunks16Sse2(const uint16_t* const now[2], const uint16_t* const then[2], int rows,
                           int n, int stride, int shift, int32_t* d, int32_t* t,
                           int32_t* chunks) {
  LowpassedChunks16Via<Lanes16>(now, then, rows, n, stride, shift, d, t, chunks);
}

void BlendStillRunSse2(const uint8_t* a, const uint8_t* own, const uint8_t* b, uint8_t* out,
                       int count, bool partnersAlike, int shift, int maxValue) {
  BlendThreeRunVia<BlendPlanar>(a, own, b, out, count, partnersAlike, shift, maxValue,
                                BlendStillRunPortable<uint8_t>);
}

void BlendStillRun16Sse2(const uint16_t* a, const uint16_t* own, const uint16_t* b, uint16_t* out,
                         int count, bool partnersAlike, int shift, int maxValue) {
  BlendThreeRunVia<BlendWords>(a, own, b, out, count, partnersAlike, shift, maxValue,
                               BlendStillRunPortable<uint16_t>);
}

void BlendStillRunPackedSse2(const uint8_t* a, const uint8_t* own, const uint8_t* b,
                             uint8_t* out, int count, bool partnersAlike, int shift,
                             int maxValue) {
  // Four samples, the low bytes of four 32-bit lanes, per step; the bytes between them are
  // written back as they were.
  const __m128i low = _mm_set1_epi32(0xFF);
  const __m128i max = _mm_set1_epi32(maxValue);
  auto samples = [&](const uint8_t* at) { return _mm_and_si128(LoadWork(at), low); };
  int x = 0;
  for (; x + 4 <= count; x += 4) {
    const int at = 4 * x;
    const __m128i blended = Blend32(samples(a + at), samples(own + at), samples(b + at),
                                    partnersAlike, shift, max);
    const __m128i kept = _mm_andnot_si128(low, LoadWork(out + at));
    StoreWork(out + at, _mm_or_si128(kept, blended));
  }
  BlendStillRunPackedPortable(a + 4 * x, own + 4 * x, b + 4 * x, out + 4 * x, count - x,
                              partnersAlike, shift, maxValue);
}

void BlendFiveRunSse2(const uint8_t* const in[5], uint8_t* out, int count, int shift,
                      int maxValue) {
  BlendFiveRunVia<BlendPlanar>(in, out, count, 1, shift, maxValue, BlendFiveRunPortable<uint8_t>);
}

void BlendFiveRunInterleavedSse2(const uint8_t* const in[5], uint8_t* out, int count, int shift,
                                 int maxValue) {
  BlendFiveRunVia<BlendInterleaved>(in, out, count, 2, shift, maxValue,
                                    BlendFiveRunInterleavedPortable<uint8_t>);
}

void BlendFiveRun16Sse2(const uint16_t* const in[5], uint16_t* out, int count, int shift,
                        int maxValue) {
  BlendFiveRunVia<BlendWords>(in, out, count, 1, shift, maxValue, BlendFiveRunPortable<uint16_t>);
}

}  // namespace velmire::simd
