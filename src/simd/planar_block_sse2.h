// Packed pieces of the planar block search: the luma blocks of the entries, their differences,
// and the blend of four U and four V samples at once.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "planar/correct_block_planar.h"
#include "simd/chroma_blend_sse2.h"

namespace velmire::simd {
namespace {

inline __m128i LoadEight(const uint8_t* p) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

inline __m128i LoadFour(const uint8_t* p) {
  int32_t bytes;
  std::memcpy(&bytes, p, sizeof bytes);
  return _mm_cvtsi32_si128(bytes);
}

inline void StoreFour(uint8_t* p, __m128i v) {
  const int32_t bytes = _mm_cvtsi128_si32(v);
  std::memcpy(p, &bytes, sizeof bytes);
}

// Read in place of an entry that is absent or may not be read.
constexpr uint8_t kStandInBlock[8] = {};

// The candidate and reference blocks of one entry.
struct EntryLuma {
  const uint8_t* block;
  const uint8_t* reference;
};

inline constexpr EntryLuma kStandInEntry{kStandInBlock, kStandInBlock};

// The luma blocks of one search, entry by entry. An entry whose chroma columns would reach past
// the row's last column is not read: stand-in blocks take its place, and `reachesPast` records
// that the search must be redone without it.
class EntryBlocks {
 public:
  EntryBlocks(const RowJobPlanar& job, int x)
      : entries_(job.candidates.data()),
        lumaColumn_(2 * static_cast<ptrdiff_t>(x)),
        largestOffset_(job.chromaWidth - 4 - x) {}

  // Every list's chroma offsets lie within -3 .. +3: a block this far from the row's end has
  // no entry that can reach past it, and needs no check.
  bool mayReachPast() const { return largestOffset_ < kLargestChromaOffset; }

  // kCheck: whether the entry's offset must be checked against the row's end.
  template <bool kCheck = true>
  EntryLuma Get(int i) {
    const RowCandidatePlanar& c = entries_[i];
    if (kCheck && c.chromaOffset > largestOffset_) {
      reachesPast_ = true;
      return kStandInEntry;
    }
    return {c.luma + lumaColumn_ + c.lumaOffset, c.reference + lumaColumn_};
  }

  bool reachesPast() const { return reachesPast_; }

 private:
  static constexpr int kLargestChromaOffset = 3;
  const RowCandidatePlanar* entries_;
  ptrdiff_t lumaColumn_;
  int largestOffset_;  // the largest chroma offset whose four columns stay inside the row
  bool reachesPast_ = false;
};

// Differences of entry a's candidate block from its reference block and of b's (eight bytes
// each): a's in the low 16 bits of the low half, b's in the low 16 bits of the high half.
inline __m128i PairDifferences(EntryLuma a, EntryLuma b) {
  const __m128i candidates = _mm_unpacklo_epi64(LoadEight(a.block), LoadEight(b.block));
  const __m128i references = _mm_unpacklo_epi64(LoadEight(a.reference), LoadEight(b.reference));
  return _mm_sad_epu8(candidates, references);
}

// Differences of entry a's and b's candidate blocks from one reference block, which both halves
// of `reference` hold: placed as PairDifferences places them.
inline __m128i PairDifferencesShared(EntryLuma a, EntryLuma b, __m128i reference) {
  return _mm_sad_epu8(_mm_unpacklo_epi64(LoadEight(a.block), LoadEight(b.block)), reference);
}

// Writes U and V columns x .. x+3 of the output: where the mask entry is non-zero, the
// truncated average of frame n's sample and the selected source's; elsewhere frame n's.
inline void BlendBlockPlanar(const uint8_t* sourceU, const uint8_t* sourceV,
                             const uint8_t* selectedU, const uint8_t* selectedV,
                             const uint8_t* maskEntries, uint8_t* outputU, uint8_t* outputV) {
  const __m128i source = _mm_unpacklo_epi32(LoadFour(sourceU), LoadFour(sourceV));
  const __m128i selected = _mm_unpacklo_epi32(LoadFour(selectedU), LoadFour(selectedV));
  const __m128i entries = LoadFour(maskEntries);
  const __m128i marked = NonZeroBytes(_mm_unpacklo_epi32(entries, entries));
  const __m128i out = SelectBytes(marked, FloorAverage(source, selected), source);
  StoreFour(outputU, out);
  StoreFour(outputV, _mm_srli_si128(out, 4));
}

}  // namespace
}  // namespace velmire::simd
