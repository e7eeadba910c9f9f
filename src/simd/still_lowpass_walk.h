// The still blend's low-pass of one luma row pair (stronger/still_kernels.h), written once over
// the lanes of an instruction set and depth. Ops gives the vector type and its operations:
// kLanes, Set1, Load, Store, Add, ShiftRight (arithmetic, by a count in a register), Abs,
// Difference (kLanes luma samples of contiguous rows, each at most a maximum) and, for 8-bit
// samples, DifferencePacked (every second byte: YUY2 luma), and ChunkPair (the two
// eight-sample chunk sums of 16 low-passed values); an Ops may add ChunkOctet (eight chunk
// sums of 64 values), whose sums share their reductions. The boxes run over whole vectors into the
// working rows' slack; the chunks that reach the row's end are summed one sample at a time.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>

#include "stronger/still_kernels.h"

namespace velmire::simd {

// [sum of a's lanes, sum of b's lanes, ...] of four 32-bit lanes each.
inline __m128i PairSums(__m128i a, __m128i b) {
  const __m128i halves = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
  return _mm_add_epi32(halves, _mm_srli_si128(halves, 8));
}

// chunks[0] and chunks[1] set to the two low lanes of sums.
inline void StoreChunkPair(int32_t* chunks, __m128i sums) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(chunks), sums);
}

// The walk in 16-bit lanes: 8-bit samples, and 9- and 10-bit ones (shift at most 2, whose
// 4-tap sums, at most 2 x 12 x 1023, fit before the shift brings them back to 8-bit steps).
template <typename Ops, typename Sample>
void LowpassedChunksWalk(const Sample* const now[2], const Sample* const then[2], int rows, int n,
                         int stride, int shift, int16_t* d, int16_t* t, int32_t* chunks) {
  constexpr int kLanes = Ops::kLanes;
  const int maxValue = (256 << shift) - 1;
  const auto max = Ops::Set1(maxValue);
  // The differences, the last vector overlapping the one before it in a row of uneven length.
  auto rowDifference = [&](int r, int i) {
    if constexpr (sizeof(Sample) == 1) {
      if (stride != 1) return Ops::DifferencePacked(now[r] + 2 * i, then[r] + 2 * i);
    }
    return Ops::Difference(now[r] + i, then[r] + i, max);
  };
  auto difference = [&](int i) {
    const auto first = rowDifference(0, i);
    Ops::Store(d + 4 + i, rows == 1 ? first : Ops::Add(first, rowDifference(1, i)));
  };
  if (n >= kLanes) {
    for (int i = 0; i + kLanes <= n; i += kLanes) difference(i);
    if (n % kLanes != 0) difference(n - kLanes);
  } else {
    for (int i = 0; i < n; ++i) {
      int sum = 0;
      for (int r = 0; r < rows; ++r) {
        sum += std::min(int(now[r][i * stride]), maxValue) -
               std::min(int(then[r][i * stride]), maxValue);
      }
      d[i + 4] = int16_t(sum);
    }
  }
  for (int k = 0; k < 4; ++k) d[k] = d[4];
  for (int k = n + 4; k < n + 9; ++k) d[k] = d[n + 3];
  auto load = [](const int16_t* at) { return Ops::Load(at); };
  for (int k = 0; k < n + 7; k += kLanes) {
    Ops::Store(t + k, Ops::Add(Ops::Add(load(d + k), load(d + k + 1)), load(d + k + 2)));
  }
  const auto count = _mm_cvtsi32_si128(shift);
  for (int k = 0; k < n + 4; k += kLanes) {
    const auto sum = Ops::Add(Ops::Add(load(t + k), load(t + k + 1)),
                              Ops::Add(load(t + k + 2), load(t + k + 3)));
    // 8-bit samples are in 8-bit steps already.
    Ops::Store(d + k, sizeof(Sample) == 1 ? sum : Ops::ShiftRight(sum, count));
  }
  // Chunk j sums the samples 8j-4 .. 8j+3: pairs of whole chunks, then what is left.
  int j = 1;
  if constexpr (requires { Ops::ChunkOctet(d, chunks); }) {
    for (; 8 * j + 60 <= n; j += 8) Ops::ChunkOctet(d + 8 * j - 4, chunks + j);
  }
  for (; 8 * j + 12 <= n; j += 2) Ops::ChunkPair(d + 8 * j - 4, chunks + j);
  for (; 8 * j - 4 < n; ++j) {
    int32_t sum = 0;
    for (int i = 8 * j - 4; i < 8 * j + 4 && i < n; ++i) {
      const int low = d[i] + d[i + 1] + d[i + 2] + d[i + 3] + d[i + 4];
      sum += low < 0 ? -low : low;
    }
    chunks[j] = sum;
  }
}

// The largest shift (bits - 8) the 16-bit walk serves; deeper samples take the portable kernel.
constexpr int kLowpassLanesMaxShift = 2;

// The kernel for 9- to 16-bit samples: the walk in 16-bit lanes of the 32-bit working rows
// (which hold twice the elements it needs) where it serves, else the portable kernel.
template <typename Ops>
void LowpassedChunks16Via(const uint16_t* const now[2], const uint16_t* const then[2], int rows,
                          int n, int stride, int shift, int32_t* d, int32_t* t,
                          int32_t* chunks) {
  if (stride != 1 || shift > kLowpassLanesMaxShift) {
    return LowpassedChunksPortable(now, then, rows, n, stride, shift, d, t, chunks);
  }
  LowpassedChunksWalk<Ops>(now, then, rows, n, stride, shift, reinterpret_cast<int16_t*>(d),
                           reinterpret_cast<int16_t*>(t), chunks);
}

// The low-pass (five boxed values in a row) of kLanes samples from `at`, made absolute.
template <typename Ops>
auto AbsoluteLowpass(const typename Ops::Work* at) {
  const auto sum = Ops::Add(Ops::Add(Ops::Add(Ops::Load(at), Ops::Load(at + 1)),
                                     Ops::Add(Ops::Load(at + 2), Ops::Load(at + 3))),
                            Ops::Load(at + 4));
  return Ops::Abs(sum);
}

}  // namespace velmire::simd
