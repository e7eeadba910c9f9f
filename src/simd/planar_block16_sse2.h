// Packed pieces of the planar block search on 16-bit samples: the luma blocks of the entries
// (eight samples, one register each), their differences summed exactly in 32-bit lanes, and the
// blend of four U and four V samples at once.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "planar/correct_block_planar.h"

namespace velmire::simd {
namespace {

inline __m128i LoadEightSamples(const uint16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline __m128i LoadFourSamples(const uint16_t* p) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

inline void StoreFourSamples(uint16_t* p, __m128i v) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
}

// Read in place of an entry that is absent or may not be read.
constexpr uint16_t kStandInBlock16[8] = {};

// The candidate and reference blocks of one entry.
struct EntryLuma16 {
  const uint16_t* block;
  const uint16_t* reference;
};

inline constexpr EntryLuma16 kStandInEntry16{kStandInBlock16, kStandInBlock16};

// The luma blocks of one search, entry by entry. An entry whose chroma columns would reach past
// the row's last column is not read: stand-in blocks take its place, and `reachesPast` records
// that the search must be redone without it.
class EntryBlocks16 {
 public:
  EntryBlocks16(const RowJobPlanar16& job, int x)
      : entries_(job.candidates.data()),
        lumaColumn_(2 * static_cast<ptrdiff_t>(x)),
        largestOffset_(job.chromaWidth - 4 - x) {}

  // Every list's chroma offsets lie within -3 .. +3: a block this far from the row's end has
  // no entry that can reach past it, and needs no check.
  bool mayReachPast() const { return largestOffset_ < kLargestChromaOffset; }

  // kCheck: whether the entry's offset must be checked against the row's end.
  template <bool kCheck = true>
  EntryLuma16 Get(int i) {
    const RowCandidatePlanar16& c = entries_[i];
    if (kCheck && c.chromaOffset > largestOffset_) {
      reachesPast_ = true;
      return kStandInEntry16;
    }
    return {c.luma + lumaColumn_ + c.lumaOffset, c.reference + lumaColumn_};
  }

  bool reachesPast() const { return reachesPast_; }

 private:
  static constexpr int kLargestChromaOffset = 3;
  const RowCandidatePlanar16* entries_;
  ptrdiff_t lumaColumn_;
  int largestOffset_;  // the largest chroma offset whose four columns stay inside the row
  bool reachesPast_ = false;
};

// Eight absolute differences of up to 0xFFFF sum to at most 8 * 0xFFFF, past 16 bits. pmaddwd
// adds word pairs into 32-bit lanes but reads words as signed, so each difference is first
// moved down by 0x8000 (its top bit flipped); the four lanes then sum to the difference less
// kPairSumBias.
constexpr int kPairSumBias = 8 * 0x8000;

// The entry's differences as four 32-bit partial sums, together kPairSumBias short.
inline __m128i BiasedPartialSums(EntryLuma16 entry) {
  const __m128i block = LoadEightSamples(entry.block);
  const __m128i reference = LoadEightSamples(entry.reference);
  const __m128i difference =
      _mm_or_si128(_mm_subs_epu16(block, reference), _mm_subs_epu16(reference, block));
  return _mm_madd_epi16(_mm_xor_si128(difference, _mm_set1_epi16(-0x8000)),
                        _mm_set1_epi16(1));
}

// The differences of four entries, one per 32-bit lane, from their partial sums.
inline __m128i FourDifferences(__m128i s0, __m128i s1, __m128i s2, __m128i s3) {
  const __m128i s01 = _mm_add_epi32(_mm_unpacklo_epi32(s0, s1), _mm_unpackhi_epi32(s0, s1));
  const __m128i s23 = _mm_add_epi32(_mm_unpacklo_epi32(s2, s3), _mm_unpackhi_epi32(s2, s3));
  const __m128i sums = _mm_add_epi32(_mm_unpacklo_epi64(s01, s23), _mm_unpackhi_epi64(s01, s23));
  return _mm_add_epi32(sums, _mm_set1_epi32(kPairSumBias));
}

// The difference of one entry.
inline int EntryDifference(EntryLuma16 entry) {
  __m128i sums = BiasedPartialSums(entry);
  sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
  sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(sums) + kPairSumBias;
}

// (a + b) >> 1 in every word, without loss: pavgw rounds up, so the lost low bit is taken off
// where a and b differ in it.
inline __m128i FloorAverageWords(__m128i a, __m128i b) {
  const __m128i roundedUp = _mm_avg_epu16(a, b);
  return _mm_sub_epi16(roundedUp, _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi16(1)));
}

// Writes U and V columns x .. x+3 of the output: where the mask entry is non-zero, the
// truncated average of frame n's sample and the selected source's; elsewhere frame n's.
inline void BlendBlockPlanar16(const uint16_t* sourceU, const uint16_t* sourceV,
                               const uint16_t* selectedU, const uint16_t* selectedV,
                               const uint8_t* maskEntries, uint16_t* outputU,
                               uint16_t* outputV) {
  const __m128i source = _mm_unpacklo_epi64(LoadFourSamples(sourceU), LoadFourSamples(sourceV));
  const __m128i selected =
      _mm_unpacklo_epi64(LoadFourSamples(selectedU), LoadFourSamples(selectedV));
  uint32_t entries;
  std::memcpy(&entries, maskEntries, sizeof entries);
  // Each entry byte doubled into a word, the four words repeated for V.
  const __m128i entryBytes = _mm_cvtsi32_si128(static_cast<int>(entries));
  const __m128i entryWords = _mm_unpacklo_epi8(entryBytes, entryBytes);
  const __m128i unmarked =
      _mm_cmpeq_epi16(_mm_unpacklo_epi64(entryWords, entryWords), _mm_setzero_si128());
  const __m128i out = _mm_or_si128(_mm_andnot_si128(unmarked, FloorAverageWords(source, selected)),
                                   _mm_and_si128(unmarked, source));
  StoreFourSamples(outputU, out);
  StoreFourSamples(outputV, _mm_srli_si128(out, 8));
}

}  // namespace
}  // namespace velmire::simd
