// Edge masks with SSE2: the mask walk over 16-byte blocks, with the SSE2 rule of each layout.
#include <emmintrin.h>

#include <cstdint>

#include "simd/edge_rule_sse2.h"
#include "simd/mask_walk.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

// Sixteen mask bytes of the walk.
struct Sse2Blocks {
  using Vector = __m128i;
  static constexpr int kBytes = 16;
  static Vector Zero() { return _mm_setzero_si128(); }
  static Vector Or(Vector a, Vector b) { return _mm_or_si128(a, b); }
  static void Store(uint8_t* at, Vector v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v); }
  static void OrInto(uint8_t* at, Vector v) {
    Store(at, _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), v));
  }
  // `cur` moved kShift (1 .. 16) bytes towards the end of the row, the gap filled from `prev`.
  template <int kShift>
  static Vector TowardsEnd(Vector prev, Vector cur) {
    if constexpr (kShift == 16) {
      return prev;
    } else {
      return _mm_or_si128(_mm_slli_si128(cur, kShift), _mm_srli_si128(prev, 16 - kShift));
    }
  }
  // `cur` moved kShift (1 .. 16) bytes towards the start, the gap filled from `next`.
  template <int kShift>
  static Vector TowardsStart(Vector cur, Vector next) {
    if constexpr (kShift == 16) {
      return next;
    } else {
      return _mm_or_si128(_mm_srli_si128(cur, kShift), _mm_slli_si128(next, 16 - kShift));
    }
  }
};

template <typename Layout>
constexpr auto kMaskSse2 = BuildEdgeMask<Sse2Blocks, Layout, Sse2Rule<Layout>>;

}  // namespace

void BuildEdgeMaskYUY2Sse2(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                           int margin) {
  kMaskSse2<Yuy2Layout>(srcRow, mask, rowSize, thresholdY, margin);
}

void BuildEdgeMaskPlanarSse2(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                             int thresholdY, int margin) {
  kMaskSse2<Planar8Layout>(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

void BuildEdgeMaskPlanar16Sse2(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                               int thresholdY, int margin) {
  kMaskSse2<Planar16Layout>(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

}  // namespace velmire::simd
