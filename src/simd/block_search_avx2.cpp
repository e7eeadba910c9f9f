// The 16-bit planar search with AVX2: the walk of planar_search_walk.h with the clamped word
// differences of two entries taken in one 256-bit register, so that a batch of eight entries
// takes four registers, two packs and two psadbw.
#include <immintrin.h>

#include <cstdint>

#include "simd/planar_search_walk.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

struct ClampedWordSearchAvx2 : ClampedWordSearch {
  // The eight samples from a in the low half, those from b in the high half.
  static __m256i LoadPair(const uint16_t* a, const uint16_t* b) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(Load128(a)), Load128(b), 1);
  }

  // min(|blocks - references|, 255) of each of the sixteen samples.
  static __m256i ClampedDifferences(__m256i blocks, __m256i references) {
    const __m256i difference = _mm256_sub_epi16(_mm256_max_epu16(blocks, references),
                                                _mm256_min_epu16(blocks, references));
    return _mm256_min_epu16(difference, _mm256_set1_epi16(kLargestKeyedNoise));
  }

  // The lanes of Differences hold entries 0, 4, 1, 5, 2, 6, 3, 7 of the batch.
  static __m128i FirstIndices() { return _mm_setr_epi16(0, 4, 1, 5, 2, 6, 3, 7); }

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
    // Packing pairs 0 and 1 gives entries 0, 2 in the low half and 1, 3 in the high half, eight
    // bytes each; psadbw sums each entry's bytes into the low word of its quarter.
    const __m256i zero = _mm256_setzero_si256();
    const __m256i sums0123 = _mm256_sad_epu8(_mm256_packus_epi16(pairs[0], pairs[1]), zero);
    const __m256i sums4567 = _mm256_sad_epu8(_mm256_packus_epi16(pairs[2], pairs[3]), zero);
    const __m256i sums = _mm256_or_si256(sums0123, _mm256_slli_epi64(sums4567, 16));
    return _mm_or_si128(_mm256_castsi256_si128(sums),
                        _mm_slli_epi64(_mm256_extracti128_si256(sums, 1), 32));
  }
};

}  // namespace

void CorrectBlockPlanar16Avx2(const RowJobPlanar16& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarWith<WordSearch, ClampedWordSearchAvx2, WordSearch>(job, x, mask);
}

void CorrectRowPlanar16Avx2(const RowJobPlanar16& job, const uint8_t* mask) {
  CorrectRowPlanarWith<WordSearch, ClampedWordSearchAvx2, WordSearch>(job, mask);
}

}  // namespace velmire::simd
