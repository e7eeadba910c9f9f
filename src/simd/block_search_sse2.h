// Packed pieces of the block searches with SSE2: loads, the keys that pick the best candidate
// with packed minimums, the chroma blends, and the entries of a planar search.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "planar/correct_block_planar.h"
#include "yuy2/correct_block_yuy2.h"

namespace velmire::simd {
// Internal linkage: each including file is built for its own instruction set, and the linker
// must not merge an inline helper built for one set into code meant for another.
namespace {

inline __m128i Load128(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
inline __m128i Load64(const void* p) { return _mm_loadl_epi64(static_cast<const __m128i*>(p)); }
inline void Store64(void* p, __m128i v) { _mm_storel_epi64(static_cast<__m128i*>(p), v); }

inline __m128i Load32(const void* p) {
  int32_t bytes;
  std::memcpy(&bytes, p, sizeof bytes);
  return _mm_cvtsi32_si128(bytes);
}

inline void Store32(void* p, __m128i v) {
  const int32_t bytes = _mm_cvtsi128_si32(v);
  std::memcpy(p, &bytes, sizeof bytes);
}

// A search keeps the first candidate whose difference is smallest, provided that difference is
// strictly below Noise. Each difference is combined with its candidate index into a key,
// (difference << index bits) | index: the smallest key holds the smallest difference and, among
// equal differences, the earliest index.
//
// Byte keys, eight to a register: with Noise at most 255, differences of 255 and more can never
// win, so each is clamped to 255 and the 16-bit keys stay within 0 .. 0x7FFF, where signed
// 16-bit minimums order them.
constexpr int kIndexBits = 7;
constexpr int kMaxKeyedCandidates = 1 << kIndexBits;
constexpr int kLargestKeyedNoise = 255;
constexpr short kNoKey = 0x7FFF;  // a key that can never be accepted

// Keys of eight differences (one per 16-bit lane) with the candidate index of each lane.
inline __m128i CandidateKeys(__m128i differences, __m128i indices) {
  const __m128i clamped = _mm_min_epi16(differences, _mm_set1_epi16(kLargestKeyedNoise));
  return _mm_or_si128(_mm_slli_epi16(clamped, kIndexBits), indices);
}

// Lanes whose index is `count` or more get kNoKey.
inline __m128i DropIndicesFrom(__m128i keys, __m128i indices, int count) {
  const __m128i absent = _mm_cmpgt_epi16(indices, _mm_set1_epi16(static_cast<short>(count - 1)));
  return _mm_or_si128(_mm_andnot_si128(absent, keys),
                      _mm_and_si128(absent, _mm_set1_epi16(kNoKey)));
}

// Four pairs of differences, as psadbw leaves them (pair p: its first difference in the low
// 16 bits of the low half, its second in the low 16 bits of the high half), gathered into one
// lane each: lanes 0..3 hold the first of pairs 0..3, lanes 4..7 the second of pairs 0..3.
inline __m128i GatherPairs(__m128i p0, __m128i p1, __m128i p2, __m128i p3) {
  return _mm_or_si128(_mm_or_si128(p0, _mm_slli_epi64(p1, 16)),
                      _mm_or_si128(_mm_slli_epi64(p2, 32), _mm_slli_epi64(p3, 48)));
}

// Candidate indices of the lanes of GatherPairs when pair p holds candidates first+2p and
// first+2p+1.
inline __m128i GatheredPairIndices(int first) {
  return _mm_add_epi16(_mm_set1_epi16(static_cast<short>(first)),
                       _mm_setr_epi16(0, 2, 4, 6, 1, 3, 5, 7));
}

// The smallest of eight byte keys.
inline int SmallestKey(__m128i keys) {
  keys = _mm_min_epi16(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(1, 0, 3, 2)));
  keys = _mm_min_epi16(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(2, 3, 0, 1)));
  keys = _mm_min_epi16(keys, _mm_shufflelo_epi16(keys, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(keys) & 0xFFFF;
}

// Index of the winning candidate for a byte key under `noise`, or -1 when none is accepted.
inline int AcceptedIndex(int key, int noise) {
  return (key >> kIndexBits) < noise ? (key & (kMaxKeyedCandidates - 1)) : -1;
}

// Word keys, four to a register: differences of eight 16-bit samples reach 8 * 0xFFFF (19
// bits), so the 32-bit keys (difference << 8) | index stay below 2^27 and need no clamping
// whatever Noise is. SSE2 has no 32-bit minimum, so it is built from a comparison and a select.
constexpr int kIndexBits16 = 8;
constexpr int kMaxKeyedCandidates16 = 1 << kIndexBits16;
constexpr int32_t kNoKey16 = 0x7FFFFFFF;  // larger than every key, never accepted

inline __m128i MinKeys16(__m128i a, __m128i b) {
  const __m128i aLarger = _mm_cmpgt_epi32(a, b);
  return _mm_or_si128(_mm_and_si128(aLarger, b), _mm_andnot_si128(aLarger, a));
}

// The smallest of four word keys.
inline int32_t SmallestKey16(__m128i keys) {
  keys = MinKeys16(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(1, 0, 3, 2)));
  keys = MinKeys16(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(keys);
}

// (a + b) >> 1 in every byte, without loss: pavgb rounds up, so the lost low bit is taken off
// where a and b differ in it.
inline __m128i FloorAverage(__m128i a, __m128i b) {
  const __m128i roundedUp = _mm_avg_epu8(a, b);
  return _mm_sub_epi8(roundedUp, _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1)));
}

// The same in every word, with pavgw.
inline __m128i FloorAverageWords(__m128i a, __m128i b) {
  const __m128i roundedUp = _mm_avg_epu16(a, b);
  return _mm_sub_epi16(roundedUp, _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi16(1)));
}

// Bytes of `chosen` where `select` is 0xFF, of `kept` where it is 0x00.
inline __m128i SelectBytes(__m128i select, __m128i chosen, __m128i kept) {
  return _mm_or_si128(_mm_and_si128(select, chosen), _mm_andnot_si128(select, kept));
}

// 0xFF for every non-zero byte of `v`, 0x00 for zero bytes.
inline __m128i NonZeroBytes(__m128i v) {
  return _mm_xor_si128(_mm_cmpeq_epi8(v, _mm_setzero_si128()), _mm_set1_epi32(-1));
}

// The candidate and reference luma blocks (eight samples) of one planar entry.
template <typename Sample>
struct EntryLuma {
  const Sample* block;
  const Sample* reference;
};

// Where each entry's candidate and reference blocks start for the row's first block (x = 4):
// worked out once per row, so that a search reads two pointers per entry, not three fields.
template <typename Sample>
class EntryStarts {
 public:
  static constexpr ptrdiff_t kFirstLumaColumn = 2 * kBlockColumnsPlanar;

  explicit EntryStarts(const RowJobPlanarOf<Sample>& job) {
    for (int i = 0; i < job.count; ++i) {
      const RowCandidatePlanarOf<Sample>& c = job.candidates[size_t(i)];
      blocks_[i] = c.luma + kFirstLumaColumn + c.lumaOffset;
      references_[i] = c.reference + kFirstLumaColumn;
    }
  }

  // Entry i's blocks for the block whose luma starts at lumaColumn.
  EntryLuma<Sample> At(int i, ptrdiff_t lumaColumn) const {
    return {blocks_[i] + (lumaColumn - kFirstLumaColumn),
            references_[i] + (lumaColumn - kFirstLumaColumn)};
  }

 private:
  const Sample* blocks_[kPlanarMaxCandidates];
  const Sample* references_[kPlanarMaxCandidates];
};

// The luma blocks of one planar search, entry by entry. An entry whose chroma columns would
// reach past the row's last column is not read: stand-in blocks take its place, and
// `reachesPast` records that the search must be redone without it.
template <typename Sample>
class EntryBlocks {
 public:
  // Read in place of an entry that is absent or may not be read.
  static constexpr Sample kStandInBlock[8] = {};
  static constexpr EntryLuma<Sample> kStandIn{kStandInBlock, kStandInBlock};

  EntryBlocks(const RowJobPlanarOf<Sample>& job, const EntryStarts<Sample>& starts, int x)
      : entries_(job.candidates.data()),
        starts_(starts),
        lumaColumn_(2 * static_cast<ptrdiff_t>(x)),
        largestOffset_(LargestOffset(job, x)) {}

  // Every list's chroma offsets lie within -3 .. +3: a block this far from the row's end has
  // no entry that can reach past it, and needs no check.
  static bool MayReachPast(const RowJobPlanarOf<Sample>& job, int x) {
    return LargestOffset(job, x) < kLargestChromaOffset;
  }

  // kCheck: whether the entry's offset must be checked against the row's end.
  template <bool kCheck = true>
  EntryLuma<Sample> Get(int i) {
    if (kCheck && entries_[i].chromaOffset > largestOffset_) {
      reachesPast_ = true;
      return kStandIn;
    }
    return starts_.At(i, lumaColumn_);
  }

  bool reachesPast() const { return reachesPast_; }

 private:
  static constexpr int kLargestChromaOffset = 3;
  // The largest chroma offset whose four columns stay inside the row.
  static int LargestOffset(const RowJobPlanarOf<Sample>& job, int x) {
    return job.chromaWidth - kBlockColumnsPlanar - x;
  }

  const RowCandidatePlanarOf<Sample>* entries_;
  const EntryStarts<Sample>& starts_;
  ptrdiff_t lumaColumn_;
  int largestOffset_;
  bool reachesPast_ = false;
};

// Differences of entry a's candidate block from its reference block and of b's (eight bytes
// each): a's in the low 16 bits of the low half, b's in the low 16 bits of the high half.
inline __m128i PairDifferences(EntryLuma<uint8_t> a, EntryLuma<uint8_t> b) {
  const __m128i candidates = _mm_unpacklo_epi64(Load64(a.block), Load64(b.block));
  const __m128i references = _mm_unpacklo_epi64(Load64(a.reference), Load64(b.reference));
  return _mm_sad_epu8(candidates, references);
}

// YUY2: the eight luma samples of a 16-byte block, twice: bytes 0..7 and 8..15 both hold them.
inline __m128i LumaTwice(__m128i block) {
  const __m128i luma = _mm_and_si128(block, _mm_set1_epi16(0x00FF));
  return _mm_packus_epi16(luma, luma);
}

// Luma differences of YUY2 blocks a and b from the reference luma (LumaTwice of the
// reference), placed as PairDifferences places them.
inline __m128i LumaPairDifferences(const uint8_t* a, const uint8_t* b, __m128i referenceLuma) {
  const __m128i lumaLanes = _mm_set1_epi16(0x00FF);
  const __m128i lumaA = _mm_and_si128(Load128(a), lumaLanes);
  const __m128i lumaB = _mm_and_si128(Load128(b), lumaLanes);
  return _mm_sad_epu8(_mm_packus_epi16(lumaA, lumaB), referenceLuma);
}

}  // namespace
}  // namespace velmire::simd
