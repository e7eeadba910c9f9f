// Edge masks with AVX2: the mask walk over 32-byte blocks (eight YUY2 macropixels or 32 planar
// chroma columns). A block at the end of the walk with fewer groups is done in SSE2 halves.
#include <immintrin.h>

#include <cstdint>

#include "simd/edge_rule_sse2.h"
#include "simd/mask_walk.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

// 32 mask bytes of the walk. Byte shifts of a 256-bit register stay within its 128-bit halves,
// so the neighbouring bytes are first brought into place with a lane permute and then aligned.
struct Avx2Blocks {
  using Vector = __m256i;
  static constexpr int kBytes = 32;
  static Vector Zero() { return _mm256_setzero_si256(); }
  static Vector Or(Vector a, Vector b) { return _mm256_or_si256(a, b); }
  static void Store(uint8_t* at, Vector v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v);
  }
  static void OrInto(uint8_t* at, Vector v) {
    Store(at, _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)), v));
  }
  // `cur` moved kShift (1 .. 16) bytes towards the end of the row, the gap filled from `prev`.
  template <int kShift>
  static Vector TowardsEnd(Vector prev, Vector cur) {
    const __m256i carried = _mm256_permute2x128_si256(prev, cur, 0x21);  // prev high, cur low
    if constexpr (kShift == 16) {
      return carried;
    } else {
      return _mm256_alignr_epi8(cur, carried, 16 - kShift);
    }
  }
  // `cur` moved kShift (1 .. 16) bytes towards the start, the gap filled from `next`.
  template <int kShift>
  static Vector TowardsStart(Vector cur, Vector next) {
    const __m256i carried = _mm256_permute2x128_si256(cur, next, 0x21);  // cur high, next low
    if constexpr (kShift == 16) {
      return carried;
    } else {
      return _mm256_alignr_epi8(carried, cur, kShift);
    }
  }
};

// Unwidened flags of one 32-byte block, with whether any byte is set.
struct BlockFlags256 {
  __m256i flags;
  bool any;
};

inline __m256i Load256(const void* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

inline bool AnySet(__m256i v) { return !_mm256_testz_si256(v, v); }

// Flags from 0x00 bytes of flagged positions and 0xFF bytes of the rest, known to hold one.
inline BlockFlags256 Flagged(__m256i unflagged) {
  return {_mm256_xor_si256(unflagged, _mm256_set1_epi32(-1)), true};
}

inline __m256i EdgeBytes256(__m256i left, __m256i centre, __m256i right, __m256i threshold) {
  const __m256i lo = _mm256_min_epu8(left, right);
  const __m256i hi = _mm256_max_epu8(left, right);
  const __m256i between =
      _mm256_min_epu8(_mm256_subs_epu8(centre, lo), _mm256_subs_epu8(hi, centre));
  return _mm256_min_epu8(between, _mm256_subs_epu8(_mm256_sub_epi8(hi, lo), threshold));
}

inline __m256i SpreadBytes256(__m256i left, __m256i right, __m256i threshold) {
  return _mm256_subs_epu8(
      _mm256_sub_epi8(_mm256_max_epu8(left, right), _mm256_min_epu8(left, right)), threshold);
}

// Unsigned words: AVX2 has their minimum and maximum, so the byte rule carries over.
inline __m256i EdgeWords256(__m256i left, __m256i centre, __m256i right, __m256i threshold) {
  const __m256i lo = _mm256_min_epu16(left, right);
  const __m256i hi = _mm256_max_epu16(left, right);
  const __m256i between =
      _mm256_min_epu16(_mm256_subs_epu16(centre, lo), _mm256_subs_epu16(hi, centre));
  return _mm256_min_epu16(between, _mm256_subs_epu16(_mm256_sub_epi16(hi, lo), threshold));
}

inline __m256i SpreadWords256(__m256i left, __m256i right, __m256i threshold) {
  return _mm256_subs_epu16(
      _mm256_sub_epi16(_mm256_max_epu16(left, right), _mm256_min_epu16(left, right)), threshold);
}

// The whole-block part of a layout's AVX2 rule: HasEdges and Flags of a full block.
template <typename Layout>
struct Avx2Whole;

// YUY2: four groups of two macropixels; only the luma bytes (the low byte of every 16-bit
// lane) count. Reads bytes group-2 .. group+33.
template <>
struct Avx2Whole<Yuy2Layout> {
  __m256i threshold;

  static __m256i LumaLanes() { return _mm256_set1_epi16(0x00FF); }
  __m256i Edges(const uint8_t* group) const {
    return EdgeBytes256(Load256(group - 2), Load256(group), Load256(group + 2), threshold);
  }
  bool HasEdges(const uint8_t* group) const {
    const __m256i spread = SpreadBytes256(Load256(group - 2), Load256(group + 2), threshold);
    if (_mm256_testz_si256(spread, LumaLanes())) return false;
    return !_mm256_testz_si256(Edges(group), LumaLanes());
  }
  BlockFlags256 Flags(const uint8_t* group) const {
    const __m256i edges = _mm256_and_si256(Edges(group), LumaLanes());
    if (!AnySet(edges)) return {_mm256_setzero_si256(), false};
    return Flagged(_mm256_cmpeq_epi32(edges, _mm256_setzero_si256()));
  }
};

// Planar 8-bit: eight groups of four columns, 64 luma samples. Reads luma[-1 .. 64].
template <>
struct Avx2Whole<Planar8Layout> {
  __m256i threshold;

  __m256i Edges(const uint8_t* luma) const {
    return EdgeBytes256(Load256(luma - 1), Load256(luma), Load256(luma + 1), threshold);
  }
  bool HasEdges(const uint8_t* luma) const {
    const __m256i spread =
        _mm256_or_si256(SpreadBytes256(Load256(luma - 1), Load256(luma + 1), threshold),
                        SpreadBytes256(Load256(luma + 31), Load256(luma + 33), threshold));
    return AnySet(spread) && AnySet(_mm256_or_si256(Edges(luma), Edges(luma + 32)));
  }
  BlockFlags256 Flags(const uint8_t* luma) const {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = Edges(luma);
    const __m256i high = Edges(luma + 32);
    if (!AnySet(_mm256_or_si256(low, high))) return {zero, false};
    // The pack works within 128-bit halves; the permute puts the four quarters back in order.
    const __m256i unflagged =
        _mm256_packs_epi16(_mm256_cmpeq_epi16(low, zero), _mm256_cmpeq_epi16(high, zero));
    return Flagged(_mm256_permute4x64_epi64(unflagged, _MM_SHUFFLE(3, 1, 2, 0)));
  }
};

// Planar 16-bit: eight groups of four columns, 64 luma samples in four registers. Reads
// luma[-1 .. 64].
template <>
struct Avx2Whole<Planar16Layout> {
  static constexpr int kRegisters = 4;
  __m256i threshold;

  void Edges(const uint16_t* luma, __m256i (&words)[kRegisters]) const {
    for (int r = 0; r < kRegisters; ++r) {
      const uint16_t* at = luma + 16 * r;
      words[r] = EdgeWords256(Load256(at - 1), Load256(at), Load256(at + 1), threshold);
    }
  }
  static bool AnyEdges(const __m256i (&words)[kRegisters]) {
    return AnySet(_mm256_or_si256(_mm256_or_si256(words[0], words[1]),
                                  _mm256_or_si256(words[2], words[3])));
  }
  bool HasEdges(const uint16_t* luma) const {
    __m256i spread = _mm256_setzero_si256();
    for (int r = 0; r < kRegisters; ++r) {
      const uint16_t* at = luma + 16 * r;
      spread = _mm256_or_si256(spread, SpreadWords256(Load256(at - 1), Load256(at + 1), threshold));
    }
    if (!AnySet(spread)) return false;
    __m256i words[kRegisters];
    Edges(luma, words);
    return AnyEdges(words);
  }
  BlockFlags256 Flags(const uint16_t* luma) const {
    const __m256i zero = _mm256_setzero_si256();
    __m256i words[kRegisters];
    Edges(luma, words);
    if (!AnyEdges(words)) return {zero, false};
    // A column is unflagged when both its words are zero: a zero 32-bit lane. The packs work
    // within 128-bit halves and leave the 32-bit lanes (four columns each) in the order 0, 2,
    // 4, 6, 1, 3, 5, 7; the permute puts them back.
    __m256i unflagged[kRegisters];
    for (int r = 0; r < kRegisters; ++r) unflagged[r] = _mm256_cmpeq_epi32(words[r], zero);
    const __m256i packed = _mm256_packs_epi16(_mm256_packs_epi32(unflagged[0], unflagged[1]),
                                              _mm256_packs_epi32(unflagged[2], unflagged[3]));
    return Flagged(
        _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)));
  }
};

// A layout's AVX2 rule for the walk: whole blocks in 256-bit registers, the last partial block
// as two halves of the SSE2 rule.
template <typename Layout>
class Avx2Rule {
 public:
  using Sample = typename Layout::Sample;
  explicit Avx2Rule(int thresholdY)
      : half_(thresholdY), whole_{_mm256_broadcastsi128_si256(half_.Threshold())} {}

  bool HasEdges(const Sample* at) const { return whole_.HasEdges(at); }

  BlockFlags256 Flags(const Sample* at, int groups) const {
    constexpr int kHalfGroups = 16 / Layout::kGroupBytes;
    if (groups >= 2 * kHalfGroups) return whole_.Flags(at);
    const int lowGroups = groups < kHalfGroups ? groups : kHalfGroups;
    const BlockFlags low = half_.Flags(at, lowGroups);
    const BlockFlags high = half_.Flags(Layout::SamplesOf(at, 16), groups - lowGroups);
    return {_mm256_inserti128_si256(_mm256_castsi128_si256(low.flags), high.flags, 1),
            low.any || high.any};
  }

 private:
  Sse2Rule<Layout> half_;
  Avx2Whole<Layout> whole_;
};

template <typename Layout>
constexpr auto kMaskAvx2 = BuildEdgeMask<Avx2Blocks, Layout, Avx2Rule<Layout>>;

}  // namespace

void BuildEdgeMaskYUY2Avx2(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                           int margin) {
  kMaskAvx2<Yuy2Layout>(srcRow, mask, rowSize, thresholdY, margin);
}

void BuildEdgeMaskPlanarAvx2(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                             int thresholdY, int margin) {
  kMaskAvx2<Planar8Layout>(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

void BuildEdgeMaskPlanar16Avx2(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                               int thresholdY, int margin) {
  kMaskAvx2<Planar16Layout>(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

}  // namespace velmire::simd
