#include "stronger/still_blend.h"

#include <algorithm>
#include <cstdlib>

namespace velmire {

namespace {

constexpr int kLowpassGain = 60;   // the sum of the low-pass's taps (3 x 4 x 5)
constexpr int kWindowReach = 4;    // luma samples judged beside the block, on either side
constexpr int kWindowSamples = 16; // the block's eight and the reach on both sides
// A still picture's low-passed luma differs from frame to frame by its noise alone: less than
// a step a sample on average for a capture's noise (a standard deviation of 2 to 3 steps on
// the composite signal), where detail moving by a pixel gives several. Still means less than
// kStillStep (8-bit steps, a sample on average).
constexpr int kStillStep = 2;


// Adds |low-passed (now - then)| at every luma sample of a row to `acc`. The differences are
// laid out with four copies of the first before them and five of the last after them, as the
// taps over samples i-4 .. i+5 reach past the row's ends; then the three boxes run one after
// the other. Plain loops over contiguous arrays, so the compiler vectorises them.
template <int Stride, typename Sample>
void AddLowpassedDifference(const Sample* now, const Sample* then, int n, int32_t* __restrict d,
                            int32_t* __restrict t, int32_t* __restrict acc) {
  for (int i = 0; i < n; ++i) d[i + 4] = int32_t(now[i * Stride]) - int32_t(then[i * Stride]);
  for (int k = 0; k < 4; ++k) d[k] = d[4];
  for (int k = n + 4; k < n + 9; ++k) d[k] = d[n + 3];
  for (int k = 0; k < n + 7; ++k) t[k] = d[k] + d[k + 1] + d[k + 2];
  for (int k = 0; k < n + 4; ++k) d[k] = t[k] + t[k + 1] + t[k + 2] + t[k + 3];
  for (int i = 0; i < n; ++i) acc[i] += std::abs(d[i] + d[i + 1] + d[i + 2] + d[i + 3] + d[i + 4]);
}

// acc[i] for every luma sample i: |low-passed (n - other)|, added up over the row's luma rows.
template <typename Sample>
void LowpassedDifferences(const StillRow<Sample>& row, int other, int32_t* d, int32_t* t,
                          int32_t* acc) {
  const int n = row.lumaSamples;
  std::fill(acc, acc + n, 0);
  for (int r = 0; r < row.lumaRows; ++r) {
    if (row.lumaStride == 1) {
      AddLowpassedDifference<1>(row.luma[1][r], row.luma[other][r], n, d, t, acc);
    } else {
      AddLowpassedDifference<2>(row.luma[1][r], row.luma[other][r], n, d, t, acc);
    }
  }
}

// Sums of acc over the eight samples 8j - 4 .. 8j + 3 (those inside the row) into chunks[j],
// for j = 0 .. n / 8 + 1: a block at luma sample 8j judges the window of chunks j and j + 1.
void ChunkSums(int32_t* acc, int n, int32_t* chunks) {
  for (int j = 0; 8 * j - 4 < n; ++j) {
    int32_t sum = 0;
    for (int i = std::max(8 * j - 4, 0); i < std::min(8 * j + 4, n); ++i) sum += acc[i];
    chunks[j] = sum;
  }
}

int Round(int sum, int divisorLog2, const StillLimits& limits) {
  const int half = (1 << (divisorLog2 - 1)) << limits.shift;
  return std::min((sum + half) >> divisorLog2, limits.maxValue);
}

// Whether frame n's first luma row has detail in the block's eight luma samples from `first`
// on: a second difference above the limit.
template <typename Sample>
bool HasDetail(const StillRow<Sample>& row, int first, int detail) {
  const int s = row.lumaStride;
  const Sample* y = row.luma[1][0];
  for (int i = first; i < first + 8; ++i) {
    if (std::abs(2 * int(y[i * s]) - int(y[(i - 1) * s]) - int(y[(i + 1) * s])) > detail) {
      return true;
    }
  }
  return false;
}

// The chroma of the block at chroma column x: frame n's and its partners'.
template <typename Sample>
void ReadBlock(const StillRow<Sample>& row, int x, BlockTriple& block) {
  const int cs = row.chromaStride;
  for (int k = 0; k < 4; ++k) {
    const int at = (x + k) * cs;
    block.a[k] = row.u[0][at], block.own[k] = row.u[1][at], block.b[k] = row.u[2][at];
    block.a[k + 4] = row.v[0][at], block.own[k + 4] = row.v[1][at], block.b[k + 4] = row.v[2][at];
  }
}

// out[x] = blend(a, own, b) of the three frames' samples, for chroma samples from .. to-1.
template <typename Sample, typename Blend>
void BlendRun(const Sample* const in[3], Sample* out, int from, int to, int stride,
              const StillLimits&, Blend blend) {
  for (int x = from; x < to; ++x) {
    const int at = x * stride;
    out[at] = static_cast<Sample>(blend(int(in[0][at]), int(in[1][at]), int(in[2][at])));
  }
}

enum BlockState : int32_t { kMoving = 0, kStillFlat = 1, kStillDetailed = 2 };

}  // namespace

void AddAgreement(const BlockTriple& block, int64_t& agree, int64_t& oppose) {
  for (int i = 0; i < 8; ++i) {
    agree += std::abs(block.a[i] - block.b[i]);
    oppose += std::abs(block.a[i] + block.b[i] - 2 * block.own[i]);
  }
}

template <typename Sample>
void BlendStillBlocks(const StillRow<Sample>& row, const StillLimits& limits, int32_t* scratch) {
  const int n = row.lumaSamples;
  int32_t* d = scratch;
  int32_t* t = d + (n + 9);
  int32_t* before = t + (n + 9);
  int32_t* after = before + n;
  int32_t* state = after + n;  // per block
  LowpassedDifferences(row, 0, d, t, before);
  LowpassedDifferences(row, 2, d, t, after);
  // The chunk sums overwrite the start of their own arrays, which they have read by then.
  ChunkSums(before, n, before);
  ChunkSums(after, n, after);
  const int64_t limit =
      int64_t(kStillStep << limits.shift) * kLowpassGain * kWindowSamples * row.lumaRows;
  static_assert(kWindowSamples == 8 + 2 * kWindowReach);

  // First the blocks' states, and the row's vote on the partners: the still blocks with
  // detail, where cross-colour is strongest, say whether the partners agree with each other.
  // A row most of whose blocks differ from a partner shows another shot there (a cut): then
  // even the blocks that look still (flat areas of the same brightness) are left alone, as
  // their colour may well have changed.
  int64_t agree = 0;
  int64_t oppose = 0;
  int blocks = 0, changedBefore = 0, changedAfter = 0;
  BlockTriple block;
  for (int x = 4; x < row.chromaWidth - 4; x += 4) {
    const int chunk = x / 4;  // the block starts at luma sample 2x = 8 chunk
    const bool stillBefore = before[chunk] + before[chunk + 1] < limit;
    const bool stillAfter = after[chunk] + after[chunk + 1] < limit;
    ++blocks;
    changedBefore += !stillBefore;
    changedAfter += !stillAfter;
    int32_t& s = state[x / 4];
    s = kMoving;
    if (!stillBefore || !stillAfter) continue;
    s = HasDetail(row, 2 * x, limits.detail) ? kStillDetailed : kStillFlat;
    if (s == kStillDetailed) {
      ReadBlock(row, x, block);
      AddAgreement(block, agree, oppose);
    }
  }
  if (2 * changedBefore > blocks || 2 * changedAfter > blocks) return;
  const bool partnersAlike = 2 * agree <= oppose;

  // The blend: (a + 2 own + b) / 4 when the partners are alike, else (a + b) / 2, rounded to
  // the nearest value (halves up, in 8-bit steps) and at most maxValue; runs of neighbouring
  // still blocks in one loop per plane.
  const int end = row.chromaWidth - 4;
  for (int x = 4; x < end; x += 4) {
    if (state[x / 4] == kMoving) continue;
    int runEnd = x + 4;
    while (runEnd < end && state[runEnd / 4] != kMoving) runEnd += 4;
    for (int plane = 0; plane < 2; ++plane) {
      const Sample* const* in = plane == 0 ? row.u : row.v;
      Sample* out = plane == 0 ? row.outU : row.outV;
      if (partnersAlike) {
        BlendRun(in, out, x, runEnd, row.chromaStride, limits, [&](int a, int own, int b) {
          return Round(a + 2 * own + b, 2, limits);
        });
      } else {
        BlendRun(in, out, x, runEnd, row.chromaStride, limits,
                 [&](int a, int, int b) { return Round(a + b, 1, limits); });
      }
    }
    x = runEnd - 4;
  }
}

template void BlendStillBlocks(const StillRow<uint8_t>&, const StillLimits&, int32_t*);
template void BlendStillBlocks(const StillRow<uint16_t>&, const StillLimits&, int32_t*);

}  // namespace velmire
