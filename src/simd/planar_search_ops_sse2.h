// The operations of the planar block search with SSE2, for 8-bit samples and for 16-bit ones:
// how a batch of entries becomes keys (see block_search_sse2.h), how the winning key is read,
// and how the winner's chroma is blended. The walk over the entries (planar_search_walk.h)
// takes them as a parameter.
#pragma once

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

// 16-bit planar samples under a Noise that byte keys hold: each sample's difference clamped to
// 255 and packed into a byte, so that two entries share one psadbw and eight entries make a
// batch of byte keys, as with 8-bit samples. A clamped sum is the true sum whenever that is
// below 255 (no difference was clamped), and 255 or more otherwise, which byte keys clamp to
// 255 anyway: the keys are those of the exact sums.
struct ClampedWordSearch : ByteSearch {
  using Sample = uint16_t;
  static constexpr bool kSharesReference = true;

  static bool Keyed(const RowJobPlanar16& job) {
    return job.noise <= kLargestKeyedNoise && job.count <= kMaxKeyedCandidates;
  }

  static __m128i SharedReference(const RowJobPlanar16& job, int x) {
    return Load128(job.candidates[0].reference + 2 * x);
  }

  // min(|block - reference|, 255) of each of the eight samples.
  static __m128i ClampedDifferences(__m128i block, __m128i reference) {
    const __m128i difference =
        _mm_or_si128(_mm_subs_epu16(block, reference), _mm_subs_epu16(reference, block));
    return _mm_sub_epi16(difference,
                         _mm_subs_epu16(difference, _mm_set1_epi16(kLargestKeyedNoise)));
  }

  // With kShared every entry compares with `reference` (SharedReference).
  template <bool kShared>
  static __m128i Differences(const EntryLuma<Sample> (&e)[kBatch], __m128i reference) {
    __m128i pairs[4];
#pragma GCC unroll 4
    for (int p = 0; p < 4; ++p) {
      const EntryLuma<Sample>& a = e[2 * p];
      const EntryLuma<Sample>& b = e[2 * p + 1];
      const __m128i da = ClampedDifferences(Load128(a.block),
                                            kShared ? reference : Load128(a.reference));
      const __m128i db = ClampedDifferences(Load128(b.block),
                                            kShared ? reference : Load128(b.reference));
      pairs[p] = _mm_sad_epu8(_mm_packus_epi16(da, db), _mm_setzero_si128());
    }
    return GatherPairs(pairs[0], pairs[1], pairs[2], pairs[3]);
  }
};

// 16-bit planar samples under any Noise: each entry's eight differences summed exactly in
// 32-bit lanes, four entries make a batch of word keys.
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

}  // namespace
}  // namespace velmire::simd
