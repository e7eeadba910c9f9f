// Planar block search and blend with SSE2: the eight-sample blocks of two entries share one
// psadbw, eight entries are reduced to keys at a time, and the smallest key names the entry
// whose chroma is blended.
#include <emmintrin.h>

#include "simd/candidate_keys_sse2.h"
#include "simd/planar_block_sse2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kBatch = 8;
constexpr int kNoneAccepted = -1;
constexpr int kSearchSequentially = -2;

// Keys of entries first .. first+7; in the last batch (kLast), those from `count` on are
// absent.
template <bool kLast>
inline __m128i BatchKeys(EntryBlocks& entries, int first, int count) {
  auto entry = [&](int i) { return !kLast || i < count ? entries(i) : kStandInEntry; };
  __m128i pairs[4];
#pragma GCC unroll 4
  for (int p = 0; p < 4; ++p)
    pairs[p] = PairDifferences(entry(first + 2 * p), entry(first + 2 * p + 1));
  const __m128i indices = GatheredPairIndices(first);
  const __m128i keys = CandidateKeys(GatherPairs(pairs[0], pairs[1], pairs[2], pairs[3]), indices);
  return kLast ? DropIndicesFrom(keys, indices, count) : keys;
}

// Index of the entry found by keys, kNoneAccepted, or kSearchSequentially when an entry's
// chroma reaches past the row's end.
int KeyedWinner(const RowJobPlanar& job, int x) {
  EntryBlocks entries(job, x);
  __m128i smallest = _mm_set1_epi16(kNoKey);
  int first = 0;
  for (; first + kBatch <= job.count; first += kBatch) {
    smallest = _mm_min_epi16(smallest, BatchKeys<false>(entries, first, job.count));
  }
  if (first < job.count) {
    smallest = _mm_min_epi16(smallest, BatchKeys<true>(entries, first, job.count));
  }
  if (entries.reachesPast()) return kSearchSequentially;
  return AcceptedIndex(SmallestKey(smallest), job.noise);
}

// Index of the chosen entry, or kNoneAccepted, by trying the entries one after another with a
// running best, as the portable search does.
int SequentialWinner(const RowJobPlanar& job, int x) {
  int best = job.noise;
  int winner = kNoneAccepted;
  for (int i = 0; i < job.count; ++i) {
    const RowCandidatePlanar& c = job.candidates[i];
    if (x + c.chromaOffset + 4 > job.chromaWidth) continue;
    const EntryLuma luma{c.luma + 2 * x + c.lumaOffset, c.reference + 2 * x};
    const int difference = _mm_cvtsi128_si32(PairDifferences(luma, luma));
    if (difference < best) {
      best = difference;
      winner = i;
    }
  }
  return winner;
}

}  // namespace

void CorrectBlockPlanarSse2(const RowJobPlanar& job, int x, const uint8_t* mask) {
  const bool keyed = job.noise <= kLargestKeyedNoise && job.count <= kMaxKeyedCandidates;
  int winner = keyed ? KeyedWinner(job, x) : kSearchSequentially;
  if (winner == kSearchSequentially) winner = SequentialWinner(job, x);
  const uint8_t* selectedU = job.sourceU + x;
  const uint8_t* selectedV = job.sourceV + x;
  if (winner >= 0) {
    const RowCandidatePlanar& c = job.candidates[winner];
    selectedU = c.u + x + c.chromaOffset;
    selectedV = c.v + x + c.chromaOffset;
  }
  BlendBlockPlanar(job.sourceU + x, job.sourceV + x, selectedU, selectedV, mask + x,
                   job.outputU + x, job.outputV + x);
}

void CorrectRowPlanarSse2(const RowJobPlanar& job, const uint8_t* mask) {
  ForEachMarkedBlockPlanar(job, mask, [&](int x) {
    CorrectBlockPlanarSse2(job, x, mask);
    if (job.partners != nullptr) BlendBlockWithPartnersPlanarSse2(job, x, mask);
  });
}

}  // namespace velmire::simd
