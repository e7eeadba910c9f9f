// The YUY2 and 16-bit planar searches with AVX2: the walks of yuy2_search_walk.h and
// planar_search_walk.h with the words of two blocks (YUY2 luma, or clamped differences of 16-bit
// samples) in one 256-bit register, so that a batch of eight takes four registers, two packs and
// two psadbw.
#include <immintrin.h>

#include <cstdint>

#include "simd/planar_search_walk.h"
#include "simd/vector_kernels.h"
#include "simd/yuy2_search_walk.h"

namespace velmire::simd {
namespace {

// The sixteen bytes from a in the low half, those from b in the high half.
inline __m256i LoadPair(const void* a, const void* b) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(Load128(a)), Load128(b), 1);
}

// Words of eight blocks, two to a register (pair p: block 2p in the low half, 2p+1 in the high
// half), each word at most 255, packed to bytes and summed as differences from `reference`
// (eight bytes, in every quarter) by psadbw: the eight sums, one per 16-bit lane, for blocks 0,
// 4, 1, 5, 2, 6, 3, 7 (kQuarterOrder). Packing pairs 0 and 1 gives blocks 0, 2 in the low half
// and 1, 3 in the high half.
inline __m128i QuarterSums(const __m256i (&pairs)[4], __m256i reference) {
  const __m256i sums0123 = _mm256_sad_epu8(_mm256_packus_epi16(pairs[0], pairs[1]), reference);
  const __m256i sums4567 = _mm256_sad_epu8(_mm256_packus_epi16(pairs[2], pairs[3]), reference);
  const __m256i sums = _mm256_or_si256(sums0123, _mm256_slli_epi64(sums4567, 16));
  return _mm_or_si128(_mm256_castsi256_si128(sums),
                      _mm_slli_epi64(_mm256_extracti128_si256(sums, 1), 32));
}

inline __m128i QuarterOrder() { return _mm_setr_epi16(0, 4, 1, 5, 2, 6, 3, 7); }

// Eight YUY2 candidates: the luma words of two blocks per register.
struct Yuy2BatchAvx2 {
  template <typename Blocks>
  static __m128i Keys(Blocks& blocks, int first, __m128i referenceLuma) {
    const __m256i lumaLanes = _mm256_set1_epi16(0x00FF);
    __m256i pairs[4];
#pragma GCC unroll 4
    for (int p = 0; p < 4; ++p) {
      pairs[p] = _mm256_and_si256(LoadPair(blocks(first + 2 * p), blocks(first + 2 * p + 1)),
                                  lumaLanes);
    }
    const __m256i reference = _mm256_broadcastsi128_si256(referenceLuma);
    return CandidateKeys(QuarterSums(pairs, reference),
                         _mm_add_epi16(_mm_set1_epi16(static_cast<short>(first)), QuarterOrder()));
  }
};

// 16-bit planar samples: the clamped differences of two entries per register.
struct ClampedWordSearchAvx2 : ClampedWordSearch {
  // min(|blocks - references|, 255) of each of the sixteen samples.
  static __m256i ClampedDifferences(__m256i blocks, __m256i references) {
    const __m256i difference = _mm256_sub_epi16(_mm256_max_epu16(blocks, references),
                                                _mm256_min_epu16(blocks, references));
    return _mm256_min_epu16(difference, _mm256_set1_epi16(kLargestKeyedNoise));
  }

  static __m128i FirstIndices() { return QuarterOrder(); }

  template <bool kShared>
  static __m128i Differences(const EntryLuma<Sample> (&e)[kBatch], __m128i reference) {
    const __m256i shared = _mm256_broadcastsi128_si256(reference);
    __m256i pairs[4];  // pair p: entry 2p in the low half, 2p+1 in the high half
#pragma GCC unroll 4
    for (int p = 0; p < 4; ++p) {
      const EntryLuma<Sample>& a = e[2 * p];
      const EntryLuma<Sample>& b = e[2 * p + 1];
      pairs[p] = ClampedDifferences(LoadPair(a.block, b.block),
                                    kShared ? shared : LoadPair(a.reference, b.reference));
    }
    return QuarterSums(pairs, _mm256_setzero_si256());
  }
};

}  // namespace

void CorrectBlockYUY2Avx2(const RowJobYUY2& job, int x, const uint8_t* mask) {
  CorrectBlockYUY2With<Yuy2BatchAvx2>(job, CandidateStarts(job), x, mask);
}

void CorrectRowYUY2Avx2(const RowJobYUY2& job, const uint8_t* mask) {
  CorrectRowYUY2With<Yuy2BatchAvx2>(job, mask);
}

void CorrectBlockPlanar16Avx2(const RowJobPlanar16& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarWith<WordSearch, ClampedWordSearchAvx2, WordSearch>(
      job, EntryStarts(job), x, mask);
}

void CorrectRowPlanar16Avx2(const RowJobPlanar16& job, const uint8_t* mask) {
  CorrectRowPlanarWith<WordSearch, ClampedWordSearchAvx2, WordSearch>(job, mask);
}

}  // namespace velmire::simd
