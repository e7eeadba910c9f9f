// The edge rule with SSE2 for each layout of the mask walk (mask_walk.h): 16 mask bytes per
// block, that is four YUY2 macropixels or sixteen planar chroma columns. 8-bit samples use
// unsigned saturating byte arithmetic; 16-bit samples are unsigned values of any size (a source
// may exceed its nominal depth), so their arithmetic is unsigned saturating throughout: SSE2
// has no unsigned 16-bit minimum or maximum, and signed comparisons would misorder samples of
// 0x8000 and more. The AVX2 rules take their partial blocks from here.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "simd/mask_walk.h"

namespace velmire::simd {
// Internal linkage: each including file is built for its own instruction set, and the linker
// must not merge an inline helper built for one set into code meant for another.
namespace {

inline __m128i LoadSixteen(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline __m128i LoadEightWords(const uint16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline bool IsAllZero(__m128i v) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) == 0xFFFF;
}

// Unwidened flags of one block of mask bytes: 0xFF in every byte of a flagged position. `any`
// tells whether any byte is set, so that blocks far from every flag cost little.
struct BlockFlags {
  __m128i flags;
  bool any;
};

inline constexpr BlockFlags NoFlags() { return BlockFlags{__m128i{}, false}; }

// Flags from 0x00 bytes of flagged positions and 0xFF bytes of the rest.
inline BlockFlags FlagsUnlessAllClear(__m128i unflagged) {
  if (_mm_movemask_epi8(unflagged) == 0xFFFF) return NoFlags();
  return {_mm_xor_si128(unflagged, _mm_set1_epi32(-1)), true};
}

// The threshold as a byte in every lane. Below 0 it acts as 0 (a sample strictly between its
// neighbours already needs a spread of 2), above 255 as 255 (no spread exceeds it).
inline __m128i ThresholdBytes(int thresholdY) {
  const int clamped = thresholdY < 0 ? 0 : (thresholdY > 255 ? 255 : thresholdY);
  return _mm_set1_epi8(static_cast<char>(clamped));
}

// The threshold as a word in every lane, clamped to 0 .. 0xFFFF likewise.
inline __m128i ThresholdWords(int thresholdY) {
  const int clamped = thresholdY < 0 ? 0 : (thresholdY > 0xFFFF ? 0xFFFF : thresholdY);
  return _mm_set1_epi16(static_cast<short>(clamped));
}

// Non-zero bytes where `centre` lies strictly between `left` and `right` and the two
// neighbours differ by more than `threshold`; zero bytes elsewhere. With lo and hi the smaller
// and larger neighbour, the centre lies strictly between them when both saturating differences
// centre - lo and hi - centre are non-zero, and the neighbours differ by hi - lo.
inline __m128i EdgeBytes(__m128i left, __m128i centre, __m128i right, __m128i threshold) {
  const __m128i lo = _mm_min_epu8(left, right);
  const __m128i hi = _mm_max_epu8(left, right);
  const __m128i between = _mm_min_epu8(_mm_subs_epu8(centre, lo), _mm_subs_epu8(hi, centre));
  return _mm_min_epu8(between, _mm_subs_epu8(_mm_sub_epi8(hi, lo), threshold));
}

// Non-zero bytes where the neighbours differ by more than the threshold: necessary for an edge
// sample and cheaper to test, so quiet stretches of a row are passed over on this alone.
inline __m128i SpreadBytes(__m128i left, __m128i right, __m128i threshold) {
  return _mm_subs_epu8(_mm_sub_epi8(_mm_max_epu8(left, right), _mm_min_epu8(left, right)),
                       threshold);
}

// SpreadBytes on unsigned words.
inline __m128i SpreadWords(__m128i left, __m128i right, __m128i threshold) {
  const __m128i spread = _mm_or_si128(_mm_subs_epu16(left, right), _mm_subs_epu16(right, left));
  return _mm_subs_epu16(spread, threshold);
}

// 0xFFFF where `centre` is not an edge sample, 0 where it is: EdgeBytes on unsigned words,
// with lo and hi as left - (left -sat right) and right + (left -sat right).
inline __m128i NotEdgeWords(__m128i left, __m128i centre, __m128i right, __m128i threshold) {
  const __m128i leftAbove = _mm_subs_epu16(left, right);
  const __m128i lo = _mm_sub_epi16(left, leftAbove);
  const __m128i hi = _mm_add_epi16(right, leftAbove);
  const __m128i zero = _mm_setzero_si128();
  const __m128i tooFlat = _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(hi, lo), threshold), zero);
  const __m128i notAboveLo = _mm_cmpeq_epi16(_mm_subs_epu16(centre, lo), zero);
  const __m128i notBelowHi = _mm_cmpeq_epi16(_mm_subs_epu16(hi, centre), zero);
  return _mm_or_si128(tooFlat, _mm_or_si128(notAboveLo, notBelowHi));
}

// Edge bytes of `groups` (2 or more: sixteen samples; 1: eight; less: none) groups whose
// samples start at `at`, neighbours `step` bytes away; bytes of absent groups are zero. Reads
// at[-step] .. at[8 * groups + step - 1].
inline __m128i EdgeBytesOfGroups(const uint8_t* at, int step, int groups, __m128i threshold) {
  if (groups >= 2) return EdgeBytes(LoadSixteen(at - step), LoadSixteen(at), LoadSixteen(at + step), threshold);
  if (groups == 1) {
    auto load = [](const uint8_t* p) {
      return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    };
    return EdgeBytes(load(at - step), load(at), load(at + step), threshold);
  }
  return _mm_setzero_si128();
}

// The threshold a rule compares with, in the lanes of its samples.
class Sse2Threshold {
 public:
  __m128i Threshold() const { return threshold_; }

 protected:
  explicit Sse2Threshold(__m128i threshold) : threshold_(threshold) {}
  const __m128i threshold_;
};

template <typename Layout>
class Sse2Rule;

// YUY2: the rule runs on all sixteen bytes, the results of the chroma bytes are masked off,
// and a macropixel is flagged when either of its two luma samples is an edge sample. A group
// is two macropixels; `group` is its first byte.
template <>
class Sse2Rule<Yuy2Layout> : public Sse2Threshold {
 public:
  explicit Sse2Rule(int thresholdY) : Sse2Threshold(ThresholdBytes(thresholdY)) {}

  bool HasEdges(const uint8_t* group) const {
    const __m128i spread =
        SpreadBytes(LoadSixteen(group - 2), LoadSixteen(group + 2), threshold_);
    if (IsAllZero(_mm_and_si128(spread, LumaLanes()))) return false;
    return !IsAllZero(LumaEdges(group, 2));
  }

  // 0xFF in all four bytes of each macropixel with a non-zero luma edge byte.
  BlockFlags Flags(const uint8_t* group, int groups) const {
    const __m128i lumaEdges = LumaEdges(group, groups);
    if (IsAllZero(lumaEdges)) return NoFlags();
    return {_mm_xor_si128(_mm_cmpeq_epi32(lumaEdges, _mm_setzero_si128()), _mm_set1_epi32(-1)),
            true};
  }

 private:
  static __m128i LumaLanes() { return _mm_set1_epi16(0x00FF); }

  // Reads bytes group-2 .. group+8*groups+1.
  __m128i LumaEdges(const uint8_t* group, int groups) const {
    return _mm_and_si128(EdgeBytesOfGroups(group, 2, groups, threshold_), LumaLanes());
  }

};

// Planar 8-bit: a column is flagged when either of its two luma samples is an edge sample. A
// group is four columns; `luma` is its first luma sample.
template <>
class Sse2Rule<Planar8Layout> : public Sse2Threshold {
 public:
  explicit Sse2Rule(int thresholdY) : Sse2Threshold(ThresholdBytes(thresholdY)) {}

  bool HasEdges(const uint8_t* luma) const {
    const __m128i spread =
        _mm_or_si128(SpreadBytes(LoadSixteen(luma - 1), LoadSixteen(luma + 1), threshold_),
                     SpreadBytes(LoadSixteen(luma + 15), LoadSixteen(luma + 17), threshold_));
    if (IsAllZero(spread)) return false;
    return !IsAllZero(_mm_or_si128(EdgeBytesOfGroups(luma, 1, 2, threshold_),
                                   EdgeBytesOfGroups(luma + 16, 1, 2, threshold_)));
  }

  // 0xFF for column k when sample 2k or 2k+1 is an edge sample. Reads luma[-1 .. 8 * groups].
  BlockFlags Flags(const uint8_t* luma, int groups) const {
    const int low = groups < 2 ? groups : 2;
    const __m128i lowEdges = EdgeBytesOfGroups(luma, 1, low, threshold_);
    const __m128i highEdges = EdgeBytesOfGroups(luma + 16, 1, groups - low, threshold_);
    if (IsAllZero(_mm_or_si128(lowEdges, highEdges))) return NoFlags();
    const __m128i zero = _mm_setzero_si128();
    return {_mm_xor_si128(_mm_packs_epi16(_mm_cmpeq_epi16(lowEdges, zero),
                                          _mm_cmpeq_epi16(highEdges, zero)),
                          _mm_set1_epi32(-1)),
            true};
  }
};

// Planar 16-bit: as Planar8Layout, one register of eight samples per group.
template <>
class Sse2Rule<Planar16Layout> : public Sse2Threshold {
 public:
  explicit Sse2Rule(int thresholdY) : Sse2Threshold(ThresholdWords(thresholdY)) {}

  bool HasEdges(const uint16_t* luma) const {
    __m128i spread = _mm_setzero_si128();
    for (int g = 0; g < 4; ++g) {
      spread = _mm_or_si128(spread, SpreadWords(LoadEightWords(luma + 8 * g - 1),
                                                LoadEightWords(luma + 8 * g + 1), threshold_));
    }
    return !IsAllZero(spread) && Flags(luma, 4).any;
  }

  // Reads luma[-1 .. 8 * groups].
  BlockFlags Flags(const uint16_t* luma, int groups) const {
    __m128i unflagged[4];
    for (int g = 0; g < 4; ++g) {
      unflagged[g] = g < groups ? UnflaggedColumns(luma + 8 * g) : _mm_set1_epi32(-1);
    }
    return FlagsUnlessAllClear(_mm_packs_epi16(_mm_packs_epi32(unflagged[0], unflagged[1]),
                                               _mm_packs_epi32(unflagged[2], unflagged[3])));
  }

 private:
  // 0xFFFFFFFF in the 32-bit lane of each of four columns with no edge sample among its two
  // luma samples. Reads luma[-1 .. 8].
  __m128i UnflaggedColumns(const uint16_t* luma) const {
    const __m128i notEdge = NotEdgeWords(LoadEightWords(luma - 1), LoadEightWords(luma),
                                         LoadEightWords(luma + 1), threshold_);
    return _mm_cmpeq_epi32(notEdge, _mm_set1_epi32(-1));
  }

};

}  // namespace
}  // namespace velmire::simd
