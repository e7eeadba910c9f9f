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
// absent. With kShared every entry compares with `reference` (the block's reference, twice).
template <bool kLast, bool kShared, bool kCheck>
inline __m128i BatchKeys(EntryBlocks& entries, int first, int count, __m128i reference) {
  auto entry = [&](int i) {
    return !kLast || i < count ? entries.template Get<kCheck>(i) : kStandInEntry;
  };
  __m128i pairs[4];
#pragma GCC unroll 4
  for (int p = 0; p < 4; ++p) {
    const EntryLuma a = entry(first + 2 * p);
    const EntryLuma b = entry(first + 2 * p + 1);
    pairs[p] = kShared ? PairDifferencesShared(a, b, reference) : PairDifferences(a, b);
  }
  const __m128i indices = GatheredPairIndices(first);
  const __m128i keys = CandidateKeys(GatherPairs(pairs[0], pairs[1], pairs[2], pairs[3]), indices);
  return kLast ? DropIndicesFrom(keys, indices, count) : keys;
}

// Index of the entry found by keys, kNoneAccepted, or kSearchSequentially when an entry's
// chroma reaches past the row's end.
// kCount: the number of entries when known when compiling (the 4:2:2 list), so that the
// batches unroll; 0 when only the job knows it.
template <bool kShared, int kCount = 0, bool kCheck = true>
int KeyedWinner(const RowJobPlanar& job, int x) {
  const int count = kCount > 0 ? kCount : job.count;
  EntryBlocks entries(job, x);
  __m128i reference = _mm_setzero_si128();
  if constexpr (kShared) {
    const __m128i block = LoadEight(job.candidates[0].reference + 2 * x);
    reference = _mm_unpacklo_epi64(block, block);
  }
  __m128i smallest = _mm_set1_epi16(kNoKey);
  int first = 0;
#pragma GCC unroll 8
  for (; first + kBatch <= count; first += kBatch) {
    smallest = _mm_min_epi16(smallest,
                             BatchKeys<false, kShared, kCheck>(entries, first, count, reference));
  }
  if (first < count) {
    smallest = _mm_min_epi16(smallest,
                             BatchKeys<true, kShared, kCheck>(entries, first, count, reference));
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
  int winner = kSearchSequentially;
  if (keyed) {
    // Blocks away from the row's end skip the per-entry check; the 4:2:2 list, whose length
    // is known, unrolls whole.
    const bool check = EntryBlocks(job, x).mayReachPast();
    if (job.sharedReference && job.count == kYuy2CandidateCount) {
      winner = check ? KeyedWinner<true, kYuy2CandidateCount>(job, x)
                     : KeyedWinner<true, kYuy2CandidateCount, false>(job, x);
    } else if (job.sharedReference) {
      winner = check ? KeyedWinner<true>(job, x) : KeyedWinner<true, 0, false>(job, x);
    } else {
      winner = check ? KeyedWinner<false>(job, x) : KeyedWinner<false, 0, false>(job, x);
    }
  }
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
