// Block searches and blends with SSE2. The planar search is one walk over the entries in
// batches, for bytes and for words alike: each batch's differences become keys (see
// block_search_sse2.h), the smallest key names the entry whose chroma is blended, and a block
// whose entries may reach past the row's end is redone one entry after another. The YUY2
// search packs the luma of two candidate blocks into one register the same way.
#include <emmintrin.h>

#include <cstdint>

#include "planar/stronger_block_planar.h"
#include "simd/block_search_sse2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

constexpr int kNoneAccepted = -1;
constexpr int kSearchSequentially = -2;

// 8-bit planar samples: the eight-sample blocks of two entries share one psadbw, eight entries
// make a batch of byte keys.
struct ByteSearch {
  using Sample = uint8_t;
  static constexpr int kBatch = 8;
  // Entries of the 4:2:2 list compare with one reference block, read once per search.
  static constexpr bool kSharesReference = true;

  static bool Keyed(const RowJobPlanar& job) {
    return job.noise <= kLargestKeyedNoise && job.count <= kMaxKeyedCandidates;
  }
  static __m128i NoKeys() { return _mm_set1_epi16(kNoKey); }
  static __m128i Smaller(__m128i a, __m128i b) { return _mm_min_epi16(a, b); }
  // Candidate indices of the lanes of the first batch, and of the batch after `indices`.
  static __m128i FirstIndices() { return GatheredPairIndices(0); }
  static __m128i NextIndices(__m128i indices) {
    return _mm_add_epi16(indices, _mm_set1_epi16(kBatch));
  }
  static __m128i Keys(__m128i differences, __m128i indices) {
    return CandidateKeys(differences, indices);
  }
  static __m128i DropFrom(__m128i keys, __m128i indices, int count) {
    return DropIndicesFrom(keys, indices, count);
  }
  static int Winner(__m128i smallest, int noise) {
    return AcceptedIndex(SmallestKey(smallest), noise);
  }

  // The block's reference, in both halves.
  static __m128i SharedReference(const RowJobPlanar& job, int x) {
    const __m128i block = Load64(job.candidates[0].reference + 2 * x);
    return _mm_unpacklo_epi64(block, block);
  }

  // With kShared every entry compares with `reference` (SharedReference).
  template <bool kShared>
  static __m128i Differences(const EntryLuma<Sample> (&e)[kBatch], __m128i reference) {
    __m128i pairs[4];
#pragma GCC unroll 4
    for (int p = 0; p < 4; ++p) {
      pairs[p] = kShared ? _mm_sad_epu8(_mm_unpacklo_epi64(Load64(e[2 * p].block),
                                                           Load64(e[2 * p + 1].block)),
                                        reference)
                         : PairDifferences(e[2 * p], e[2 * p + 1]);
    }
    return GatherPairs(pairs[0], pairs[1], pairs[2], pairs[3]);
  }

  static int Difference(EntryLuma<Sample> entry) {
    return _mm_cvtsi128_si32(PairDifferences(entry, entry));
  }

  // Writes U and V columns x .. x+3 of the output: where the mask entry is non-zero, the
  // truncated average of frame n's sample and the selected source's; elsewhere frame n's.
  static void Blend(const RowJobPlanar& job, int x, const uint8_t* selectedU,
                    const uint8_t* selectedV, const uint8_t* mask) {
    const __m128i source = _mm_unpacklo_epi32(Load32(job.sourceU + x), Load32(job.sourceV + x));
    const __m128i selected = _mm_unpacklo_epi32(Load32(selectedU), Load32(selectedV));
    const __m128i entries = Load32(mask + x);
    const __m128i marked = NonZeroBytes(_mm_unpacklo_epi32(entries, entries));
    const __m128i out = SelectBytes(marked, FloorAverage(source, selected), source);
    Store32(job.outputU + x, out);
    Store32(job.outputV + x, _mm_srli_si128(out, 4));
  }

  static void BlendWithPartners(const RowJobPlanar& job, int x, const uint8_t* mask) {
    BlendBlockWithPartnersPlanarSse2(job, x, mask);
  }
};

// 16-bit planar samples: each entry's eight differences summed exactly in 32-bit lanes, four
// entries make a batch of word keys.
struct WordSearch {
  using Sample = uint16_t;
  static constexpr int kBatch = 4;
  static constexpr bool kSharesReference = false;

  static bool Keyed(const RowJobPlanar16& job) { return job.count <= kMaxKeyedCandidates16; }
  static __m128i NoKeys() { return _mm_set1_epi32(kNoKey16); }
  static __m128i Smaller(__m128i a, __m128i b) { return MinKeys16(a, b); }
  static __m128i FirstIndices() { return _mm_setr_epi32(0, 1, 2, 3); }
  static __m128i NextIndices(__m128i indices) {
    return _mm_add_epi32(indices, _mm_set1_epi32(kBatch));
  }
  static __m128i Keys(__m128i differences, __m128i indices) {
    return _mm_or_si128(_mm_slli_epi32(differences, kIndexBits16), indices);
  }
  static __m128i DropFrom(__m128i keys, __m128i indices, int count) {
    const __m128i absent = _mm_cmpgt_epi32(indices, _mm_set1_epi32(count - 1));
    return _mm_or_si128(keys, _mm_and_si128(absent, _mm_set1_epi32(kNoKey16)));
  }
  static int Winner(__m128i smallest, int noise) {
    const int32_t key = SmallestKey16(smallest);
    if (key == kNoKey16) return kNoneAccepted;
    return (key >> kIndexBits16) < noise ? (key & (kMaxKeyedCandidates16 - 1)) : kNoneAccepted;
  }
  static __m128i SharedReference(const RowJobPlanar16&, int) { return _mm_setzero_si128(); }

  // Eight absolute differences of up to 0xFFFF sum to at most 8 * 0xFFFF, past 16 bits.
  // pmaddwd adds word pairs into 32-bit lanes but reads words as signed, so each difference is
  // first moved down by 0x8000 (its top bit flipped); the four lanes then sum to the difference
  // less kPairSumBias.
  static constexpr int kPairSumBias = 8 * 0x8000;

  static __m128i BiasedPartialSums(EntryLuma<Sample> entry) {
    const __m128i block = Load128(entry.block);
    const __m128i reference = Load128(entry.reference);
    const __m128i difference =
        _mm_or_si128(_mm_subs_epu16(block, reference), _mm_subs_epu16(reference, block));
    return _mm_madd_epi16(_mm_xor_si128(difference, _mm_set1_epi16(-0x8000)),
                          _mm_set1_epi16(1));
  }

  // The differences of four entries, one per 32-bit lane.
  template <bool kShared>
  static __m128i Differences(const EntryLuma<Sample> (&e)[kBatch], __m128i) {
    const __m128i s0 = BiasedPartialSums(e[0]);
    const __m128i s1 = BiasedPartialSums(e[1]);
    const __m128i s2 = BiasedPartialSums(e[2]);
    const __m128i s3 = BiasedPartialSums(e[3]);
    const __m128i s01 = _mm_add_epi32(_mm_unpacklo_epi32(s0, s1), _mm_unpackhi_epi32(s0, s1));
    const __m128i s23 = _mm_add_epi32(_mm_unpacklo_epi32(s2, s3), _mm_unpackhi_epi32(s2, s3));
    const __m128i sums = _mm_add_epi32(_mm_unpacklo_epi64(s01, s23), _mm_unpackhi_epi64(s01, s23));
    return _mm_add_epi32(sums, _mm_set1_epi32(kPairSumBias));
  }

  static int Difference(EntryLuma<Sample> entry) {
    __m128i sums = BiasedPartialSums(entry);
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(sums) + kPairSumBias;
  }

  // As ByteSearch::Blend, four U and four V words at once.
  static void Blend(const RowJobPlanar16& job, int x, const uint16_t* selectedU,
                    const uint16_t* selectedV, const uint8_t* mask) {
    const __m128i source = _mm_unpacklo_epi64(Load64(job.sourceU + x), Load64(job.sourceV + x));
    const __m128i selected = _mm_unpacklo_epi64(Load64(selectedU), Load64(selectedV));
    // Each entry byte doubled into a word, the four words repeated for V.
    const __m128i entryBytes = Load32(mask + x);
    const __m128i entryWords = _mm_unpacklo_epi8(entryBytes, entryBytes);
    const __m128i unmarked =
        _mm_cmpeq_epi16(_mm_unpacklo_epi64(entryWords, entryWords), _mm_setzero_si128());
    const __m128i out =
        _mm_or_si128(_mm_andnot_si128(unmarked, FloorAverageWords(source, selected)),
                     _mm_and_si128(unmarked, source));
    Store64(job.outputU + x, out);
    Store64(job.outputV + x, _mm_srli_si128(out, 8));
  }

  static void BlendWithPartners(const RowJobPlanar16& job, int x, const uint8_t* mask) {
    BlendBlockWithPartnersPlanar(job, x, mask);
  }
};

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
int KeyedWinner(const RowJobPlanarOf<typename Ops::Sample>& job, int x) {
  const int count = kCount > 0 ? kCount : job.count;
  EntryBlocks<typename Ops::Sample> entries(job, x);
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
int KeyedWinnerOfList(const RowJobPlanarOf<typename Ops::Sample>& job, int x) {
  const bool check = EntryBlocks<typename Ops::Sample>(job, x).mayReachPast();
  // The 4:2:2 list compares with a shared reference where the operations can use one.
  if (kShared == Ops::kSharesReference && job.count == kYuy2CandidateCount) {
    return check ? KeyedWinner<Ops, kShared, kYuy2CandidateCount, true>(job, x)
                 : KeyedWinner<Ops, kShared, kYuy2CandidateCount, false>(job, x);
  }
  return check ? KeyedWinner<Ops, kShared, 0, true>(job, x)
               : KeyedWinner<Ops, kShared, 0, false>(job, x);
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

template <typename Ops>
void CorrectBlockPlanarWith(const RowJobPlanarOf<typename Ops::Sample>& job, int x,
                        const uint8_t* mask) {
  int winner = kSearchSequentially;
  if (Ops::Keyed(job)) {
    winner = Ops::kSharesReference && job.sharedReference ? KeyedWinnerOfList<Ops, true>(job, x)
                                                         : KeyedWinnerOfList<Ops, false>(job, x);
  }
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

template <typename Ops>
void CorrectRowPlanarWith(const RowJobPlanarOf<typename Ops::Sample>& job, const uint8_t* mask) {
  ForEachMarkedBlockPlanar(job, mask, [&](int x) {
    CorrectBlockPlanarWith<Ops>(job, x, mask);
    if (job.partners != nullptr) Ops::BlendWithPartners(job, x, mask);
  });
}

// The YUY2 search: candidate blocks of 16 bytes, compared on their luma with the reference's.
constexpr int kYuy2Batch = 8;
constexpr int kYuy2FullBatches = kYuy2CandidateCount / kYuy2Batch;
static_assert(kYuy2CandidateCount == kYuy2FullBatches * kYuy2Batch + 2,
              "the search is laid out as whole batches and one last pair");

// The blocks of one search, candidate by candidate. A candidate whose 16 bytes would reach past
// the row's last byte is not read: the reference block stands in for it, and `reachesPast`
// records that the search must be redone without it.
class CandidateBlocks {
 public:
  CandidateBlocks(const RowJobYUY2& job, int x)
      : candidates_(job.candidates.data()),
        reference_(job.reference + x),
        x_(x),
        lastStart_(static_cast<ptrdiff_t>(job.rowSize) - 16) {}

  const uint8_t* operator()(int i) {
    const ptrdiff_t start = x_ + 2 * static_cast<ptrdiff_t>(candidates_[i].shift);
    if (start > lastStart_) {
      reachesPast_ = true;
      return reference_;
    }
    return candidates_[i].row + start;
  }

  bool reachesPast() const { return reachesPast_; }

  // The block of the candidate named by `key`, or the reference when the key is not accepted.
  const uint8_t* Chosen(int key, int noise) const {
    const int winner = AcceptedIndex(key, noise);
    if (winner < 0) return reference_;
    return candidates_[winner].row + x_ + 2 * static_cast<ptrdiff_t>(candidates_[winner].shift);
  }

 private:
  const RowCandidateYUY2* candidates_;
  const uint8_t* reference_;
  ptrdiff_t x_;
  ptrdiff_t lastStart_;
  bool reachesPast_ = false;
};

// Keys of candidates first .. first+7.
inline __m128i Yuy2BatchKeys(CandidateBlocks& blocks, int first, __m128i referenceLuma) {
  __m128i pairs[4];
#pragma GCC unroll 4
  for (int p = 0; p < 4; ++p) {
    pairs[p] =
        LumaPairDifferences(blocks(first + 2 * p), blocks(first + 2 * p + 1), referenceLuma);
  }
  return CandidateKeys(GatherPairs(pairs[0], pairs[1], pairs[2], pairs[3]),
                       GatheredPairIndices(first));
}

// Keys of candidates i and i+1 alone, in lanes 0 and 4; the other lanes hold kNoKey.
inline __m128i LastPairKeys(CandidateBlocks& blocks, int i, __m128i referenceLuma) {
  const __m128i differences = LumaPairDifferences(blocks(i), blocks(i + 1), referenceLuma);
  const __m128i keys = CandidateKeys(
      differences,
      _mm_setr_epi16(static_cast<short>(i), 0, 0, 0, static_cast<short>(i + 1), 0, 0, 0));
  return _mm_max_epi16(keys, _mm_setr_epi16(0, kNoKey, kNoKey, kNoKey, 0, kNoKey, kNoKey, kNoKey));
}

// The chosen block found by keys, or null when a candidate reaches past the row's last byte.
const uint8_t* KeyedBestBlock(const RowJobYUY2& job, int x, __m128i referenceLuma) {
  CandidateBlocks blocks(job, x);
  __m128i smallest = LastPairKeys(blocks, kYuy2FullBatches * kYuy2Batch, referenceLuma);
#pragma GCC unroll 8
  for (int b = 0; b < kYuy2FullBatches; ++b) {
    smallest = _mm_min_epi16(smallest, Yuy2BatchKeys(blocks, b * kYuy2Batch, referenceLuma));
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
    const int difference = _mm_cvtsi128_si32(LumaPairDifferences(block, block, referenceLuma));
    if (difference < best) {
      best = difference;
      bestBlock = block;
    }
  }
  return bestBlock;
}

// The output block: luma of the reference; U and V of each macropixel whose mask byte (the
// byte before the chroma byte: 4m for U, 4m+2 for V) is non-zero averaged with the best
// block's, the rest of the reference.
inline __m128i BlendBlockYUY2(__m128i reference, __m128i best, const uint8_t* maskBytes) {
  const __m128i marked = NonZeroBytes(Load128(maskBytes));
  const __m128i chromaSelect =
      _mm_and_si128(_mm_slli_si128(marked, 1), _mm_set1_epi16(static_cast<short>(0xFF00)));
  return SelectBytes(chromaSelect, FloorAverage(reference, best), reference);
}

}  // namespace

void CorrectBlockYUY2Sse2(const RowJobYUY2& job, int x, const uint8_t* mask) {
  const __m128i reference = Load128(job.reference + x);
  const __m128i referenceLuma = LumaTwice(reference);
  const uint8_t* bestBlock =
      job.noise <= kLargestKeyedNoise ? KeyedBestBlock(job, x, referenceLuma) : nullptr;
  if (bestBlock == nullptr) bestBlock = SequentialBestBlock(job, x, referenceLuma);
  const __m128i out = BlendBlockYUY2(reference, Load128(bestBlock), mask + x);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(job.output + x), out);
}

void CorrectRowYUY2Sse2(const RowJobYUY2& job, const uint8_t* mask) {
  ForEachMarkedBlockYUY2(job, mask, [&](int x) {
    CorrectBlockYUY2Sse2(job, x, mask);
    if (job.partners != nullptr) BlendBlockWithPartnersYUY2Sse2(job, x, mask);
  });
}

void CorrectBlockPlanarSse2(const RowJobPlanar& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarWith<ByteSearch>(job, x, mask);
}

void CorrectRowPlanarSse2(const RowJobPlanar& job, const uint8_t* mask) {
  CorrectRowPlanarWith<ByteSearch>(job, mask);
}

void CorrectBlockPlanar16Sse2(const RowJobPlanar16& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarWith<WordSearch>(job, x, mask);
}

void CorrectRowPlanar16Sse2(const RowJobPlanar16& job, const uint8_t* mask) {
  CorrectRowPlanarWith<WordSearch>(job, mask);
}

}  // namespace velmire::simd
