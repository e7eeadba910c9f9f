#include "stronger/still_kernels.h"

#include <algorithm>
#include <cstdlib>

#include "stronger/still_blend.h"

namespace velmire {

namespace {

// |low-passed (now - then)| at every luma sample of a row, into t once the boxes are done with
// it. The differences are laid
// out with four copies of the first before them and five of the last after them, as the taps
// over samples i-4 .. i+5 reach past the row's ends; then the three boxes run one after the
// other. Plain loops over contiguous arrays, so the compiler vectorises them.
template <int Stride, typename Sample, typename Work>
void LowpassedDifference(const Sample* const now[2], const Sample* const then[2], int rows, int n,
                         int shift, Work* __restrict d, Work* __restrict t) {
  const int maxValue = (256 << shift) - 1;
  for (int i = 0; i < n; ++i) {
    int difference = 0;
    for (int r = 0; r < rows; ++r) {
      difference += std::min(int(now[r][i * Stride]), maxValue) -
                    std::min(int(then[r][i * Stride]), maxValue);
    }
    d[i + 4] = Work(difference);
  }
  for (int k = 0; k < 4; ++k) d[k] = d[4];
  for (int k = n + 4; k < n + 9; ++k) d[k] = d[n + 3];
  for (int k = 0; k < n + 7; ++k) t[k] = Work(d[k] + d[k + 1] + d[k + 2]);
  for (int k = 0; k < n + 4; ++k) d[k] = Work((t[k] + t[k + 1] + t[k + 2] + t[k + 3]) >> shift);
  for (int i = 0; i < n; ++i) {
    // In the working type throughout: a detour through int would halve the lanes.
    const Work sum = Work(d[i] + d[i + 1] + d[i + 2] + d[i + 3] + d[i + 4]);
    t[i] = sum < 0 ? Work(-sum) : sum;
  }
}

// Sums of low over the eight samples 8j - 4 .. 8j + 3 (those inside the row) into chunks[j],
// for j = 1 .. (n + 3) / 8.
template <typename Work>
void ChunkSums(const Work* low, int n, int32_t* chunks) {
  for (int j = 1; 8 * j - 4 < n; ++j) {
    int32_t sum = 0;
    for (int i = 8 * j - 4; i < std::min(8 * j + 4, n); ++i) sum += low[i];
    chunks[j] = sum;
  }
}

int Round(int sum, int divisorLog2, int shift, int maxValue) {
  const int half = (1 << (divisorLog2 - 1)) << shift;
  return std::min((sum + half) >> divisorLog2, maxValue);
}

// Whether the luma has detail in the eight samples from `first` on: a second difference above
// the limit.
template <typename Sample>
bool HasDetail(const Sample* y, int s, int first, int detail) {
  for (int i = first; i < first + 8; ++i) {
    if (std::abs(2 * int(y[i * s]) - int(y[(i - 1) * s]) - int(y[(i + 1) * s])) > detail) {
      return true;
    }
  }
  return false;
}

}  // namespace

template <typename Sample>
void LowpassedChunksPortable(const Sample* const now[2], const Sample* const then[2], int rows,
                             int n, int stride, int shift, StillWork<Sample>* d,
                             StillWork<Sample>* t, int32_t* chunks) {
  if (stride == 1) {
    LowpassedDifference<1>(now, then, rows, n, shift, d, t);
  } else {
    LowpassedDifference<2>(now, then, rows, n, shift, d, t);
  }
  ChunkSums(t, n, chunks);
}

template <int Stride, typename Sample>
void BlendStillRunWith(const Sample* a, const Sample* own, const Sample* b, Sample* out,
                       int count, bool partnersAlike, int shift, int maxValue) {
  for (int x = 0; x < count; ++x) {
    const int at = x * Stride;
    out[at] = static_cast<Sample>(
        partnersAlike ? Round(int(a[at]) + 2 * int(own[at]) + int(b[at]), 2, shift, maxValue)
                      : Round(int(a[at]) + int(b[at]), 1, shift, maxValue));
  }
}

template <typename Sample>
void BlendStillRunPortable(const Sample* a, const Sample* own, const Sample* b, Sample* out,
                           int count, bool partnersAlike, int shift, int maxValue) {
  BlendStillRunWith<1>(a, own, b, out, count, partnersAlike, shift, maxValue);
}

template <typename Sample>
void BlendStillRunPackedPortable(const Sample* a, const Sample* own, const Sample* b, Sample* out,
                                 int count, bool partnersAlike, int shift, int maxValue) {
  BlendStillRunWith<4>(a, own, b, out, count, partnersAlike, shift, maxValue);
}

template <int Stride, typename Sample>
void BlendFiveRunWith(const Sample* const in[5], Sample* out, int count, int shift,
                      int maxValue) {
  for (int x = 0; x < count; ++x) {
    const int at = x * Stride;
    const int sum =
        int(in[0][at]) + 2 * (int(in[1][at]) + int(in[2][at]) + int(in[3][at])) + int(in[4][at]);
    out[at] = static_cast<Sample>(Round(sum, 3, shift, maxValue));
  }
}

template <typename Sample>
void BlendFiveRunPortable(const Sample* const in[5], Sample* out, int count, int shift,
                          int maxValue) {
  BlendFiveRunWith<1>(in, out, count, shift, maxValue);
}

template <typename Sample>
void BlendFiveRunInterleavedPortable(const Sample* const in[5], Sample* out, int count, int shift,
                                     int maxValue) {
  BlendFiveRunWith<2>(in, out, count, shift, maxValue);
}

template <typename Sample>
void StillVotePortable(const Sample* luma, int lumaStride, const Sample* const u[3],
                       const Sample* const v[3], int chromaStride, const uint8_t* state,
                       uint8_t still, int end, int detail, int64_t* agree, int64_t* oppose) {
  BlockTriple block;
  for (int x = 4; x < end; x += 4) {
    if (state[x / 4] != still || !HasDetail(luma, lumaStride, 2 * x, detail)) continue;
    for (int k = 0; k < 4; ++k) {
      const int at = (x + k) * chromaStride;
      block.a[k] = u[0][at], block.own[k] = u[1][at], block.b[k] = u[2][at];
      block.a[k + 4] = v[0][at], block.own[k + 4] = v[1][at], block.b[k + 4] = v[2][at];
    }
    AddAgreement(block, *agree, *oppose);
  }
}

template void LowpassedChunksPortable(const uint8_t* const[2], const uint8_t* const[2], int, int,
                                      int, int, int16_t*, int16_t*, int32_t*);
template void LowpassedChunksPortable(const uint16_t* const[2], const uint16_t* const[2], int, int,
                                      int, int, int32_t*, int32_t*, int32_t*);
template void BlendStillRunPortable(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, int,
                                    bool, int, int);
template void BlendStillRunPortable(const uint16_t*, const uint16_t*, const uint16_t*, uint16_t*,
                                    int, bool, int, int);

template void BlendStillRunPackedPortable(const uint8_t*, const uint8_t*, const uint8_t*,
                                          uint8_t*, int, bool, int, int);
template void BlendStillRunPackedPortable(const uint16_t*, const uint16_t*, const uint16_t*,
                                          uint16_t*, int, bool, int, int);
template void BlendFiveRunPortable(const uint8_t* const[5], uint8_t*, int, int, int);
template void BlendFiveRunPortable(const uint16_t* const[5], uint16_t*, int, int, int);
template void BlendFiveRunInterleavedPortable(const uint8_t* const[5], uint8_t*, int, int, int);
template void BlendFiveRunInterleavedPortable(const uint16_t* const[5], uint16_t*, int, int, int);
template void StillVotePortable(const uint8_t*, int, const uint8_t* const[3],
                                const uint8_t* const[3], int, const uint8_t*, uint8_t, int, int,
                                int64_t*, int64_t*);
template void StillVotePortable(const uint16_t*, int, const uint16_t* const[3],
                                const uint16_t* const[3], int, const uint8_t*, uint8_t, int, int,
                                int64_t*, int64_t*);

}  // namespace velmire
