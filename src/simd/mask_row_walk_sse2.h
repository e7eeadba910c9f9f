// The SSE2 blocks of the mask row walk: sixteen mask bytes at a time, widened by whole
// positions into the neighbouring blocks and ORed into the mask.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <utility>

namespace velmire::simd {
namespace {

// The bytes of `cur` moved `kShift` bytes towards the end of the row, the gap filled from the
// end of `prev` (the block before).
template <int kShift>
inline __m128i ShiftedTowardsEnd(__m128i prev, __m128i cur) {
  if constexpr (kShift == 16) {
    return prev;
  } else {
    return _mm_or_si128(_mm_slli_si128(cur, kShift), _mm_srli_si128(prev, 16 - kShift));
  }
}

// The bytes of `cur` moved `kShift` bytes towards the start, the gap filled from `next`.
template <int kShift>
inline __m128i ShiftedTowardsStart(__m128i cur, __m128i next) {
  if constexpr (kShift == 16) {
    return next;
  } else {
    return _mm_or_si128(_mm_srli_si128(cur, kShift), _mm_slli_si128(next, 16 - kShift));
  }
}

// Flags of block `cur` with every flagged position spread over `kMargin` positions of
// `kUnit` bytes on each side; `prev` and `next` are the flags of the blocks around it.
template <int kUnit, int kMargin>
inline __m128i Widened(__m128i prev, __m128i cur, __m128i next) {
  static_assert(kUnit * kMargin <= 16, "widening reaches at most one block on each side");
  __m128i out = cur;
  [&]<int... k>(std::integer_sequence<int, k...>) {
    ((out = _mm_or_si128(out, _mm_or_si128(ShiftedTowardsEnd<(k + 1) * kUnit>(prev, cur),
                                           ShiftedTowardsStart<(k + 1) * kUnit>(cur, next)))),
     ...);
  }
  (std::make_integer_sequence<int, kMargin>{});
  return out;
}

// ORs the sixteen bytes of `marks` into mask bytes start .. start+15, keeping only those inside
// 0 .. limit-1.
inline void OrIntoMask(uint8_t* mask, int start, int limit, __m128i marks) {
  if (start >= 0 && start + 16 <= limit) {
    auto* at = reinterpret_cast<__m128i*>(mask + start);
    _mm_storeu_si128(at, _mm_or_si128(_mm_loadu_si128(at), marks));
    return;
  }
  uint8_t bytes[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), marks);
  for (int i = start < 0 ? -start : 0; i < 16 && start + i < limit; ++i)
    mask[start + i] |= bytes[i];
}

// The 16-byte blocks of a row walk (see mask_row_walk.h).
struct Sse2Blocks {
  using Vector = __m128i;
  static constexpr int kBytes = 16;
  static Vector Zero() { return _mm_setzero_si128(); }
  template <int kUnit, int kMargin>
  static Vector Widen(Vector prev, Vector cur, Vector next) {
    return Widened<kUnit, kMargin>(prev, cur, next);
  }
  static void OrInto(uint8_t* mask, int start, int limit, Vector marks) {
    OrIntoMask(mask, start, limit, marks);
  }
};

}  // namespace
}  // namespace velmire::simd
