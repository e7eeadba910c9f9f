// YUY2 block search and blend with SSE2: the luma of two candidate blocks is packed into one
// register and compared with the reference by psadbw, eight candidates are reduced to keys at
// a time, and the smallest key names the chosen block.
#include <emmintrin.h>

#include "simd/candidate_keys_sse2.h"
#include "simd/vector_kernels.h"
#include "simd/yuy2_block_sse2.h"

namespace velmire::simd {
namespace {

constexpr int kBatch = 8;
constexpr int kFullBatches = kYuy2CandidateCount / kBatch;
static_assert(kYuy2CandidateCount == kFullBatches * kBatch + 2,
              "the search is laid out as whole batches and one last pair");

// Keys of candidates first .. first+7.
inline __m128i BatchKeys(CandidateBlocks& blocks, int first, __m128i referenceLuma) {
  __m128i pairs[4];
#pragma GCC unroll 4
  for (int p = 0; p < 4; ++p) {
    pairs[p] = PairDifferences(blocks(first + 2 * p), blocks(first + 2 * p + 1), referenceLuma);
  }
  return CandidateKeys(GatherPairs(pairs[0], pairs[1], pairs[2], pairs[3]),
                       GatheredPairIndices(first));
}

// The chosen block found by keys, or null when a candidate reaches past the row's last byte.
const uint8_t* KeyedBestBlock(const RowJobYUY2& job, int x, __m128i referenceLuma) {
  CandidateBlocks blocks(job, x);
  __m128i smallest = LastPairKeys(blocks, kFullBatches * kBatch, referenceLuma);
#pragma GCC unroll 8
  for (int b = 0; b < kFullBatches; ++b) {
    smallest = _mm_min_epi16(smallest, BatchKeys(blocks, b * kBatch, referenceLuma));
  }
  if (blocks.reachesPast()) return nullptr;
  return blocks.Chosen(SmallestKey(smallest), job.noise);
}

// The chosen block found by trying the candidates one after another with a running best, as
// the portable search does.
const uint8_t* SequentialBestBlock(const RowJobYUY2& job, int x, __m128i referenceLuma) {
  int best = job.noise;
  const uint8_t* bestBlock = job.reference + x;
  for (const RowCandidateYUY2& c : job.candidates) {
    if (x + 2 * c.shift + 16 > job.rowSize) continue;
    const uint8_t* block = c.row + x + 2 * c.shift;
    const int difference = _mm_cvtsi128_si32(PairDifferences(block, block, referenceLuma));
    if (difference < best) {
      best = difference;
      bestBlock = block;
    }
  }
  return bestBlock;
}

}  // namespace

void CorrectBlockYUY2Sse2(const RowJobYUY2& job, int x, const uint8_t* mask) {
  const __m128i reference = LoadBlock(job.reference + x);
  const __m128i referenceLuma = LumaTwice(reference);
  const uint8_t* bestBlock =
      job.noise <= kLargestKeyedNoise ? KeyedBestBlock(job, x, referenceLuma) : nullptr;
  if (bestBlock == nullptr) bestBlock = SequentialBestBlock(job, x, referenceLuma);
  const __m128i out = BlendBlockYUY2(reference, LoadBlock(bestBlock), mask + x);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(job.output + x), out);
}

void CorrectRowYUY2Sse2(const RowJobYUY2& job, const uint8_t* mask) {
  ForEachMarkedBlockYUY2(job, mask, [&](int x) {
    CorrectBlockYUY2Sse2(job, x, mask);
    if (job.partners != nullptr) BlendBlockWithPartnersYUY2Sse2(job, x, mask);
  });
}

}  // namespace velmire::simd
