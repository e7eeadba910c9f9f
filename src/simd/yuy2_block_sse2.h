// Packed pieces of the YUY2 block search: luma differences of candidate blocks and the blend
// of the chosen block's chroma into the reference block.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "simd/candidate_keys_sse2.h"
#include "simd/chroma_blend_sse2.h"
#include "yuy2/correct_block_yuy2.h"

namespace velmire::simd {
namespace {

inline __m128i LoadBlock(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The eight luma samples of a 16-byte block, twice: bytes 0..7 and 8..15 both hold them.
inline __m128i LumaTwice(__m128i block) {
  const __m128i luma = _mm_and_si128(block, _mm_set1_epi16(0x00FF));
  return _mm_packus_epi16(luma, luma);
}

// Luma differences of blocks a and b from the reference luma (LumaTwice of the reference):
// a's in the low 16 bits of the low half, b's in the low 16 bits of the high half.
inline __m128i PairDifferences(const uint8_t* a, const uint8_t* b, __m128i referenceLuma) {
  const __m128i lumaLanes = _mm_set1_epi16(0x00FF);
  const __m128i lumaA = _mm_and_si128(LoadBlock(a), lumaLanes);
  const __m128i lumaB = _mm_and_si128(LoadBlock(b), lumaLanes);
  return _mm_sad_epu8(_mm_packus_epi16(lumaA, lumaB), referenceLuma);
}

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

// Keys of candidates i and i+1 alone, in lanes 0 and 4; the other lanes hold kNoKey.
inline __m128i LastPairKeys(CandidateBlocks& blocks, int i, __m128i referenceLuma) {
  const __m128i differences = PairDifferences(blocks(i), blocks(i + 1), referenceLuma);
  const __m128i keys = CandidateKeys(
      differences,
      _mm_setr_epi16(static_cast<short>(i), 0, 0, 0, static_cast<short>(i + 1), 0, 0, 0));
  return _mm_max_epi16(keys, _mm_setr_epi16(0, kNoKey, kNoKey, kNoKey, 0, kNoKey, kNoKey, kNoKey));
}

// The output block: luma of the reference; U and V of each macropixel whose mask byte (the
// byte before the chroma byte: 4m for U, 4m+2 for V) is non-zero averaged with the best
// block's, the rest of the reference.
inline __m128i BlendBlockYUY2(__m128i reference, __m128i best, const uint8_t* maskBytes) {
  const __m128i marked = NonZeroBytes(LoadBlock(maskBytes));
  const __m128i chromaSelect =
      _mm_and_si128(_mm_slli_si128(marked, 1), _mm_set1_epi16(static_cast<short>(0xFF00)));
  return SelectBytes(chromaSelect, FloorAverage(reference, best), reference);
}

}  // namespace
}  // namespace velmire::simd
