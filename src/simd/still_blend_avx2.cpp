// The still blend's kernels with AVX2: SSE2's, twice the lanes (stronger/still_kernels.h).
#include <immintrin.h>

#include <cstdint>

#include "simd/still_blend_walk.h"
#include "simd/still_lowpass_walk.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

template <typename W>
__m256i LoadWork(const W* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
template <typename W>
void StoreWork(W* at, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v); }
__m128i Load128(const void* at) { return _mm_loadu_si128(static_cast<const __m128i*>(at)); }

struct Lanes16 {
  using Work = int16_t;
  static constexpr int kLanes = 16;
  static __m256i Set1(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static __m256i Load(const Work* at) { return LoadWork(at); }
  static void Store(Work* at, __m256i v) { StoreWork(at, v); }
  static __m256i Add(__m256i a, __m256i b) { return _mm256_add_epi16(a, b); }
  static __m256i ShiftRight(__m256i v, __m128i count) { return _mm256_sra_epi16(v, count); }
  static __m256i Abs(__m256i v) { return _mm256_abs_epi16(v); }
  static __m256i Difference(const uint8_t* now, const uint8_t* then, __m256i) {
    return _mm256_sub_epi16(_mm256_cvtepu8_epi16(Load128(now)),
                            _mm256_cvtepu8_epi16(Load128(then)));
  }
  static __m256i Difference(const uint16_t* now, const uint16_t* then, __m256i max) {
    return _mm256_sub_epi16(_mm256_min_epu16(LoadWork(now), max),
                            _mm256_min_epu16(LoadWork(then), max));
  }
  static __m256i DifferencePacked(const uint8_t* now, const uint8_t* then) {
    const __m256i luma = _mm256_set1_epi16(0x00FF);
    return _mm256_sub_epi16(_mm256_and_si256(LoadWork(now), luma),
                            _mm256_and_si256(LoadWork(then), luma));
  }
  // Four vectors' sums of four 32-bit lanes a chunk, reduced together: two rounds of
  // horizontal adds leave [chunk 0, 2, 4, 6 | 1, 3, 5, 7], put in order by one permute.
  static void ChunkOctet(const Work* at, int32_t* chunks) {
    const __m256i ones = _mm256_set1_epi16(1);
    auto sums = [&](int q) {
      return _mm256_madd_epi16(AbsoluteLowpass<Lanes16>(at + 16 * q), ones);
    };
    const __m256i quarters = _mm256_hadd_epi32(_mm256_hadd_epi32(sums(0), sums(1)),
                                               _mm256_hadd_epi32(sums(2), sums(3)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(chunks),
                        _mm256_permutevar8x32_epi32(quarters,
                                                    _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)));
  }
  // One vector holds both chunks, one in each half.
  static void ChunkPair(const Work* at, int32_t* chunks) {
    const __m256i sums = _mm256_madd_epi16(AbsoluteLowpass<Lanes16>(at), _mm256_set1_epi16(1));
    StoreChunkPair(chunks,
                   PairSums(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1)));
  }
};

// The blends' lanes: 16-bit, sixteen samples a step.
struct BlendLanes {
  static constexpr int kSamples = 16;
  static __m256i Set1(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static __m256i AddSaturated(__m256i a, __m256i b) { return _mm256_adds_epu16(a, b); }
  static __m256i ShiftRight(__m256i v, __m128i count) { return _mm256_srl_epi16(v, count); }
  static __m256i Min(__m256i a, __m256i b) { return _mm256_min_epu16(a, b); }
};
struct BlendPlanar : BlendLanes {
  static __m256i Load(const uint8_t* at) { return _mm256_cvtepu8_epi16(Load128(at)); }
  static void Store(uint8_t* at, __m256i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at),
                     _mm_packus_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1)));
  }
};
// YUY2's U and V bytes from the first U: the low byte of each 16-bit lane.
struct BlendInterleaved : BlendLanes {
  static __m256i Load(const uint8_t* at) {
    return _mm256_and_si256(LoadWork(at), _mm256_set1_epi16(0x00FF));
  }
  static void Store(uint8_t* at, __m256i v) {
    StoreWork(at, _mm256_or_si256(
                      _mm256_and_si256(LoadWork(at), _mm256_set1_epi16(short(0xFF00))), v));
  }
};
struct BlendWords : BlendLanes {
  static __m256i Load(const uint16_t* at) { return LoadWork(at); }
  static void Store(uint16_t* at, __m256i v) { StoreWork(at, v); }
};

}  // namespace

void LowpassedChunksAvx2(const uint8_t* const now[2], const uint8_t* const then[2], int rows,
                         int n, int stride, int shift, int16_t* d, int16_t* t, int32_t* chunks) {
  LowpassedChunksWalk<Lanes16>(now, then, rows, n, stride, shift, d, t, chunks);
}

void LowpassedChunks16Avx2(const uint16_t* const now[2], const uint16_t* const then[2], int rows,
                           int n, int stride, int shift, int32_t* d, int32_t* t,
                           int32_t* chunks) {
  LowpassedChunks16Via<Lanes16>(now, then, rows, n, stride, shift, d, t, chunks);
}

void BlendStillRunAvx2(const uint8_t* a, const uint8_t* own, const uint8_t* b, uint8_t* out,
                       int count, bool partnersAlike, int shift, int maxValue) {
  BlendThreeRunVia<BlendPlanar>(a, own, b, out, count, partnersAlike, shift, maxValue,
                                BlendStillRunSse2);
}

void BlendStillRun16Avx2(const uint16_t* a, const uint16_t* own, const uint16_t* b, uint16_t* out,
                         int count, bool partnersAlike, int shift, int maxValue) {
  BlendThreeRunVia<BlendWords>(a, own, b, out, count, partnersAlike, shift, maxValue,
                               BlendStillRun16Sse2);
}

void BlendFiveRunAvx2(const uint8_t* const in[5], uint8_t* out, int count, int shift,
                      int maxValue) {
  BlendFiveRunVia<BlendPlanar>(in, out, count, 1, shift, maxValue, BlendFiveRunSse2);
}

void BlendFiveRunInterleavedAvx2(const uint8_t* const in[5], uint8_t* out, int count, int shift,
                                 int maxValue) {
  BlendFiveRunVia<BlendInterleaved>(in, out, count, 2, shift, maxValue,
                                    BlendFiveRunInterleavedSse2);
}

void BlendFiveRun16Avx2(const uint16_t* const in[5], uint16_t* out, int count, int shift,
                        int maxValue) {
  BlendFiveRunVia<BlendWords>(in, out, count, 1, shift, maxValue, BlendFiveRun16Sse2);
}

}  // namespace velmire::simd
