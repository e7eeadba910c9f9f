// Block searches and blends with SSE2: the walks of planar_search_walk.h and yuy2_search_walk.h
// with the SSE2 operations.
#include <emmintrin.h>

#include <cstdint>

#include "planar/stronger_block_planar.h"
#include "simd/block_search_sse2.h"
#include "simd/planar_search_walk.h"
#include "simd/yuy2_search_walk.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

// Eight YUY2 candidates with SSE2: the luma of two blocks packed into one register, one psadbw
// per pair.
struct Yuy2BatchSse2 {
  template <typename Blocks>
  static __m128i Keys(Blocks& blocks, int first, __m128i referenceLuma) {
    __m128i pairs[4];
#pragma GCC unroll 4
    for (int p = 0; p < 4; ++p) {
      pairs[p] =
          LumaPairDifferences(blocks(first + 2 * p), blocks(first + 2 * p + 1), referenceLuma);
    }
    return CandidateKeys(GatherPairs(pairs[0], pairs[1], pairs[2], pairs[3]),
                         GatheredPairIndices(first));
  }
};

}  // namespace

void CorrectBlockYUY2Sse2(const RowJobYUY2& job, int x, const uint8_t* mask) {
  CorrectBlockYUY2With<Yuy2BatchSse2>(job, CandidateStarts(job), x, mask);
}

void CorrectRowYUY2Sse2(const RowJobYUY2& job, const uint8_t* mask) {
  CorrectRowYUY2With<Yuy2BatchSse2>(job, mask);
}

void CorrectBlockPlanarSse2(const RowJobPlanar& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarWith<ByteSearch, ByteSearch>(
      job, EntryStarts(job), x, mask);
}

void CorrectRowPlanarSse2(const RowJobPlanar& job, const uint8_t* mask) {
  CorrectRowPlanarWith<ByteSearch, ByteSearch>(job, mask);
}

void CorrectBlockPlanar16Sse2(const RowJobPlanar16& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarWith<WordSearch, ClampedWordSearch, WordSearch>(
      job, EntryStarts(job), x, mask);
}

void CorrectRowPlanar16Sse2(const RowJobPlanar16& job, const uint8_t* mask) {
  CorrectRowPlanarWith<WordSearch, ClampedWordSearch, WordSearch>(job, mask);
}

}  // namespace velmire::simd
