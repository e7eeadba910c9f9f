// Planar block search and blend of 16-bit samples with SSE2: each entry's eight differences
// summed in 32-bit lanes, four entries reduced to keys at a time, and the smallest key names
// the entry whose chroma is blended.
#include <emmintrin.h>

#include "simd/candidate_keys16_sse2.h"
#include "simd/planar_block16_sse2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kBatch = 4;
constexpr int kNoneAccepted = -1;
constexpr int kSearchSequentially = -2;

// Keys of entries first .. first+3 (their indices in `indices`); in the last batch (kLast),
// those from `count` on are absent.
template <bool kLast, bool kCheck>
inline __m128i BatchKeys(EntryBlocks16& entries, int first, int count, __m128i indices) {
  auto entry = [&](int i) {
    return !kLast || i < count ? entries.template Get<kCheck>(i) : kStandInEntry16;
  };
  const __m128i differences =
      FourDifferences(BiasedPartialSums(entry(first)), BiasedPartialSums(entry(first + 1)),
                      BiasedPartialSums(entry(first + 2)), BiasedPartialSums(entry(first + 3)));
  const __m128i keys = CandidateKeys16(differences, indices);
  return kLast ? DropIndicesFrom16(keys, indices, count) : keys;
}

// Index of the entry found by keys, kNoneAccepted, or kSearchSequentially when an entry's
// chroma reaches past the row's end.
// kCount: the number of entries when known when compiling (the 4:2:2 list), so that the
// batches unroll; 0 when only the job knows it. kCheck: see EntryBlocks16::Get.
template <int kCount, bool kCheck>
int KeyedWinner(const RowJobPlanar16& job, int x) {
  const int count = kCount > 0 ? kCount : job.count;
  EntryBlocks16 entries(job, x);
  __m128i smallest = _mm_set1_epi32(kNoKey16);
  __m128i indices = _mm_setr_epi32(0, 1, 2, 3);
  const __m128i step = _mm_set1_epi32(kBatch);
  int first = 0;
#pragma GCC unroll 16
  for (; first + kBatch <= count; first += kBatch) {
    smallest = MinKeys(smallest, BatchKeys<false, kCheck>(entries, first, count, indices));
    indices = _mm_add_epi32(indices, step);
  }
  if (first < count) {
    smallest = MinKeys(smallest, BatchKeys<true, kCheck>(entries, first, count, indices));
  }
  if (entries.reachesPast()) return kSearchSequentially;
  return AcceptedIndex16(SmallestKey16(smallest), job.noise);
}

// Index of the chosen entry, or kNoneAccepted, by trying the entries one after another with a
// running best, as the portable search does.
int SequentialWinner(const RowJobPlanar16& job, int x) {
  int best = job.noise;
  int winner = kNoneAccepted;
  for (int i = 0; i < job.count; ++i) {
    const RowCandidatePlanar16& c = job.candidates[i];
    if (x + c.chromaOffset + 4 > job.chromaWidth) continue;
    const int difference = EntryDifference({c.luma + 2 * x + c.lumaOffset, c.reference + 2 * x});
    if (difference < best) {
      best = difference;
      winner = i;
    }
  }
  return winner;
}

}  // namespace

void CorrectBlockPlanar16Sse2(const RowJobPlanar16& job, int x, const uint8_t* mask) {
  int winner = kSearchSequentially;
  if (job.count <= kMaxKeyedCandidates16) {
    // Blocks away from the row's end skip the per-entry check; the 4:2:2 list, whose length
    // is known, unrolls whole.
    const bool check = EntryBlocks16(job, x).mayReachPast();
    if (job.count == kYuy2CandidateCount) {
      winner = check ? KeyedWinner<kYuy2CandidateCount, true>(job, x)
                     : KeyedWinner<kYuy2CandidateCount, false>(job, x);
    } else {
      winner = check ? KeyedWinner<0, true>(job, x) : KeyedWinner<0, false>(job, x);
    }
  }
  if (winner == kSearchSequentially) winner = SequentialWinner(job, x);
  const uint16_t* selectedU = job.sourceU + x;
  const uint16_t* selectedV = job.sourceV + x;
  if (winner >= 0) {
    const RowCandidatePlanar16& c = job.candidates[winner];
    selectedU = c.u + x + c.chromaOffset;
    selectedV = c.v + x + c.chromaOffset;
  }
  BlendBlockPlanar16(job.sourceU + x, job.sourceV + x, selectedU, selectedV, mask + x,
                     job.outputU + x, job.outputV + x);
}

void CorrectRowPlanar16Sse2(const RowJobPlanar16& job, const uint8_t* mask) {
  ForEachMarkedBlockPlanar(job, mask, [&](int x) {
    CorrectBlockPlanar16Sse2(job, x, mask);
    if (job.partners != nullptr) BlendBlockWithPartnersPlanar(job, x, mask);
  });
}

}  // namespace velmire::simd
