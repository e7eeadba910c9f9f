// The planar block search as one walk over the entries in batches, for bytes and for words
// alike: each batch's differences become keys, the smallest key names the entry whose chroma
// is blended, and a block whose entries may reach past the row's end is redone one entry after
// another. The operations (planar_search_ops_sse2.h) are its parameters, so that each
// instruction set builds the walk with its own.
#pragma once

#include "simd/planar_search_ops_sse2.h"

namespace velmire::simd {
namespace {

// Keys of entries first .. first+kBatch-1, whose lanes' indices `indices` holds; in the last
// batch (kLast), those from `count` on are absent.
template <typename Ops, bool kLast, bool kShared, bool kCheck>
inline __m128i BatchKeys(EntryBlocks<typename Ops::Sample>& entries, int first, int count,
                         __m128i indices, __m128i reference) {
  EntryLuma<typename Ops::Sample> batch[Ops::kBatch];
#pragma GCC unroll 8
  for (int i = 0; i < Ops::kBatch; ++i) {
    batch[i] = !kLast || first + i < count ? entries.template Get<kCheck>(first + i)
                                           : entries.kStandIn;
  }
  const __m128i keys = Ops::Keys(Ops::template Differences<kShared>(batch, reference), indices);
  return kLast ? Ops::DropFrom(keys, indices, count) : keys;
}

// Index of the entry found by keys, kNoneAccepted, or kSearchSequentially when an entry's
// chroma reaches past the row's end. kCount: the number of entries when known when compiling
// (the 4:2:2 list), so that the batches unroll; 0 when only the job knows it. kCheck: see
// EntryBlocks::Get.
template <typename Ops, bool kShared, int kCount, bool kCheck>
int KeyedWinner(const RowJobPlanarOf<typename Ops::Sample>& job,
    const EntryStarts<typename Ops::Sample>& starts, int x) {
  const int count = kCount > 0 ? kCount : job.count;
  EntryBlocks<typename Ops::Sample> entries(job, starts, x);
  const __m128i reference = kShared ? Ops::SharedReference(job, x) : _mm_setzero_si128();
  __m128i smallest = Ops::NoKeys();
  __m128i indices = Ops::FirstIndices();
  auto batch = [&](int first) {
    smallest = Ops::Smaller(smallest, BatchKeys<Ops, false, kShared, kCheck>(
                                          entries, first, count, indices, reference));
    indices = Ops::NextIndices(indices);
  };
  // Each search unrolls the batches of the 4:2:2 list whole: six of bytes, twelve of words.
  int first = 0;
  if constexpr (Ops::kBatch == 8) {
#pragma GCC unroll 8
    for (; first + Ops::kBatch <= count; first += Ops::kBatch) batch(first);
  } else {
#pragma GCC unroll 16
    for (; first + Ops::kBatch <= count; first += Ops::kBatch) batch(first);
  }
  if (first < count) {
    smallest = Ops::Smaller(smallest, BatchKeys<Ops, true, kShared, kCheck>(
                                          entries, first, count, indices, reference));
  }
  if (entries.reachesPast()) return kSearchSequentially;
  return Ops::Winner(smallest, job.noise);
}

// Blocks away from the row's end skip the per-entry check; the 4:2:2 list, whose length is
// known, unrolls whole.
template <typename Ops, bool kShared>
int KeyedWinnerOfList(const RowJobPlanarOf<typename Ops::Sample>& job,
    const EntryStarts<typename Ops::Sample>& starts, int x) {
  const bool check = EntryBlocks<typename Ops::Sample>::MayReachPast(job, x);
  // The 4:2:2 list compares with a shared reference where the operations can use one.
  if (kShared == Ops::kSharesReference && job.count == kYuy2CandidateCount) {
    return check ? KeyedWinner<Ops, kShared, kYuy2CandidateCount, true>(job, starts, x)
                 : KeyedWinner<Ops, kShared, kYuy2CandidateCount, false>(job, starts, x);
  }
  return check ? KeyedWinner<Ops, kShared, 0, true>(job, starts, x)
               : KeyedWinner<Ops, kShared, 0, false>(job, starts, x);
}

// Index of the chosen entry, or kNoneAccepted, by trying the entries one after another with a
// running best, as the portable search does.
template <typename Ops>
int SequentialWinner(const RowJobPlanarOf<typename Ops::Sample>& job, int x) {
  int best = job.noise;
  int winner = kNoneAccepted;
  for (int i = 0; i < job.count; ++i) {
    const auto& c = job.candidates[i];
    if (x + c.chromaOffset + 4 > job.chromaWidth) continue;
    const int difference = Ops::Difference({c.luma + 2 * x + c.lumaOffset, c.reference + 2 * x});
    if (difference < best) {
      best = difference;
      winner = i;
    }
  }
  return winner;
}

// Index of the chosen entry found by keys, kNoneAccepted, or kSearchSequentially.
template <typename Ops>
int KeyedWinnerOf(const RowJobPlanarOf<typename Ops::Sample>& job,
    const EntryStarts<typename Ops::Sample>& starts, int x) {
  // An empty list has no reference row to share.
  const bool shared = job.sharedReference && job.count > 0;
  return Ops::kSharesReference && shared ? KeyedWinnerOfList<Ops, true>(job, starts, x)
                                         : KeyedWinnerOfList<Ops, false>(job, starts, x);
}

// The same with the first of the keyed searches Ops, More... that can key the job.
template <typename Ops, typename... More>
int FirstKeyedWinner(const RowJobPlanarOf<typename Ops::Sample>& job,
    const EntryStarts<typename Ops::Sample>& starts, int x) {
  if (Ops::Keyed(job)) return KeyedWinnerOf<Ops>(job, starts, x);
  if constexpr (sizeof...(More) > 0) {
    return FirstKeyedWinner<More...>(job, starts, x);
  } else {
    return kSearchSequentially;
  }
}

// Ops searches one entry after another where no keyed search (Keyed...) can, and blends.
template <typename Ops, typename... Keyed>
void CorrectBlockPlanarWith(const RowJobPlanarOf<typename Ops::Sample>& job,
                            const EntryStarts<typename Ops::Sample>& starts, int x,
                            const uint8_t* mask) {
  int winner = FirstKeyedWinner<Keyed...>(job, starts, x);
  if (winner == kSearchSequentially) winner = SequentialWinner<Ops>(job, x);
  const auto* selectedU = job.sourceU + x;
  const auto* selectedV = job.sourceV + x;
  if (winner >= 0) {
    const auto& c = job.candidates[winner];
    selectedU = c.u + x + c.chromaOffset;
    selectedV = c.v + x + c.chromaOffset;
  }
  Ops::Blend(job, x, selectedU, selectedV, mask);
}

template <typename Ops, typename... Keyed>
void CorrectRowPlanarWith(const RowJobPlanarOf<typename Ops::Sample>& job, const uint8_t* mask) {
  const EntryStarts<typename Ops::Sample> starts(job);
  ForEachMarkedBlockPlanar(job, mask, [&](int x) {
    CorrectBlockPlanarWith<Ops, Keyed...>(job, starts, x, mask);
    if (job.partners != nullptr) Ops::BlendWithPartners(job, x, mask);
  });
}

}  // namespace
}  // namespace velmire::simd
