// The AVX2 blocks of the mask row walk: as mask_row_walk_sse2.h with 32-byte blocks. Byte
// shifts of a 256-bit register stay within its 128-bit halves, so the neighbouring bytes are
// first brought into place with a lane permute and then aligned.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <utility>

namespace velmire::simd {
namespace {

// `cur` moved kShift (1 .. 16) bytes towards the end of the row, the gap filled from `prev`.
template <int kShift>
inline __m256i ShiftedTowardsEnd256(__m256i prev, __m256i cur) {
  const __m256i carried = _mm256_permute2x128_si256(prev, cur, 0x21);  // prev high, cur low
  if constexpr (kShift == 16) {
    return carried;
  } else {
    return _mm256_alignr_epi8(cur, carried, 16 - kShift);
  }
}

// `cur` moved kShift (1 .. 16) bytes towards the start, the gap filled from `next`.
template <int kShift>
inline __m256i ShiftedTowardsStart256(__m256i cur, __m256i next) {
  const __m256i carried = _mm256_permute2x128_si256(cur, next, 0x21);  // cur high, next low
  if constexpr (kShift == 16) {
    return carried;
  } else {
    return _mm256_alignr_epi8(carried, cur, kShift);
  }
}

template <int kUnit, int kMargin>
inline __m256i Widened256(__m256i prev, __m256i cur, __m256i next) {
  static_assert(kUnit * kMargin <= 16, "widening reaches at most half a block on each side");
  __m256i out = cur;
  [&]<int... k>(std::integer_sequence<int, k...>) {
    ((out = _mm256_or_si256(out,
                            _mm256_or_si256(ShiftedTowardsEnd256<(k + 1) * kUnit>(prev, cur),
                                            ShiftedTowardsStart256<(k + 1) * kUnit>(cur, next)))),
     ...);
  }
  (std::make_integer_sequence<int, kMargin>{});
  return out;
}

// ORs the 32 bytes of `marks` into mask bytes start .. start+31, keeping only those inside
// 0 .. limit-1.
inline void OrIntoMask256(uint8_t* mask, int start, int limit, __m256i marks) {
  if (start >= 0 && start + 32 <= limit) {
    auto* at = reinterpret_cast<__m256i*>(mask + start);
    _mm256_storeu_si256(at, _mm256_or_si256(_mm256_loadu_si256(at), marks));
    return;
  }
  uint8_t bytes[32];
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes), marks);
  for (int i = start < 0 ? -start : 0; i < 32 && start + i < limit; ++i)
    mask[start + i] |= bytes[i];
}

// The 32-byte blocks of a row walk (see mask_row_walk.h).
struct Avx2Blocks {
  using Vector = __m256i;
  static constexpr int kBytes = 32;
  static Vector Zero() { return _mm256_setzero_si256(); }
  template <int kUnit, int kMargin>
  static Vector Widen(Vector prev, Vector cur, Vector next) {
    return Widened256<kUnit, kMargin>(prev, cur, next);
  }
  static void OrInto(uint8_t* mask, int start, int limit, Vector marks) {
    OrIntoMask256(mask, start, limit, marks);
  }
};

}  // namespace
}  // namespace velmire::simd
