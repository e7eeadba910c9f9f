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


// sums[i + 1] - sums[j] is the sum over luma samples j..i of |low-passed (n - other)|, added
// up over the row's luma rows. `diff` has lumaSamples + 9 entries of room: the differences
// with four copies of the first before them and five of the last after them, as the taps over
// samples i-4 .. i+5 reach past the row's ends. The three boxes run in place, each over the
// sums of the one before.
template <typename Sample>
void LowpassedDifferenceSums(const StillRow<Sample>& row, int other, int32_t* diff,
                             int32_t* sums) {
  const int n = row.lumaSamples;
  std::fill(sums, sums + n + 1, 0);
  for (int r = 0; r < row.lumaRows; ++r) {
    const Sample* now = row.luma[1][r];
    const Sample* then = row.luma[other][r];
    for (int i = 0; i < n; ++i) {
      diff[i + 4] = int32_t(now[i * row.lumaStride]) - int32_t(then[i * row.lumaStride]);
    }
    std::fill(diff, diff + 4, diff[4]);
    std::fill(diff + n + 4, diff + n + 9, diff[n + 3]);
    for (int i = 0; i < n + 7; ++i) diff[i] += diff[i + 1] + diff[i + 2];
    for (int i = 0; i < n + 4; ++i) diff[i] += diff[i + 1] + diff[i + 2] + diff[i + 3];
    for (int i = 0; i < n; ++i) {
      sums[i + 1] += std::abs(diff[i] + diff[i + 1] + diff[i + 2] + diff[i + 3] + diff[i + 4]);
    }
  }
  for (int i = 0; i < n; ++i) sums[i + 1] += sums[i];
}

int Round(int sum, int divisorLog2, const StillLimits& limits) {
  const int half = (1 << (divisorLog2 - 1)) << limits.shift;
  return std::min((sum + half) >> divisorLog2, limits.maxValue);
}

// Whether the luma of frame n has detail in luma samples from .. to-1 of every luma row: a
// second difference above the limit (samples with both neighbours in the row).
template <typename Sample>
bool HasDetail(const StillRow<Sample>& row, int from, int to, int detail) {
  from = std::max(from, 1);
  to = std::min(to, row.lumaSamples - 1);
  const int s = row.lumaStride;
  for (int r = 0; r < row.lumaRows; ++r) {
    const Sample* y = row.luma[1][r];
    for (int i = from; i < to; ++i) {
      if (std::abs(2 * int(y[i * s]) - int(y[(i - 1) * s]) - int(y[(i + 1) * s])) > detail) {
        return true;
      }
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

enum BlockState : int32_t { kMoving = 0, kStillFlat = 1, kStillDetailed = 2 };

}  // namespace

void AddAgreement(const BlockTriple& block, int64_t& agree, int64_t& oppose) {
  for (int i = 0; i < 8; ++i) {
    agree += std::abs(block.a[i] - block.b[i]);
    oppose += std::abs(block.a[i] + block.b[i] - 2 * block.own[i]);
  }
}

void CancelFlippingChroma(const BlockTriple& block, bool partnersAlike, const StillLimits& limits,
                          int out[8]) {
  for (int i = 0; i < 8; ++i) {
    out[i] = partnersAlike ? Round(block.a[i] + 2 * block.own[i] + block.b[i], 2, limits)
                           : Round(block.a[i] + block.b[i], 1, limits);
  }
}

template <typename Sample>
void BlendStillBlocks(const StillRow<Sample>& row, const StillLimits& limits, int32_t* scratch) {
  const int n = row.lumaSamples;
  int32_t* diff = scratch;
  int32_t* before = scratch + (n + 9);
  int32_t* after = before + (n + 1);
  int32_t* state = after + (n + 1);  // per block
  LowpassedDifferenceSums(row, 0, diff, before);
  LowpassedDifferenceSums(row, 2, diff, after);
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
    const int from = 2 * x - kWindowReach;
    const int to = std::min(2 * x + 8 + kWindowReach, n);
    const bool stillBefore = before[to] - before[from] < limit;
    const bool stillAfter = after[to] - after[from] < limit;
    ++blocks;
    changedBefore += !stillBefore;
    changedAfter += !stillAfter;
    int32_t& s = state[x / 4];
    s = kMoving;
    if (!stillBefore || !stillAfter) continue;
    s = HasDetail(row, from, to, limits.detail) ? kStillDetailed : kStillFlat;
    if (s == kStillDetailed) {
      ReadBlock(row, x, block);
      AddAgreement(block, agree, oppose);
    }
  }
  if (2 * changedBefore > blocks || 2 * changedAfter > blocks) return;
  const bool partnersAlike = 2 * agree <= oppose;

  const int cs = row.chromaStride;
  for (int x = 4; x < row.chromaWidth - 4; x += 4) {
    if (state[x / 4] == kMoving) continue;
    ReadBlock(row, x, block);
    int out[8];
    CancelFlippingChroma(block, partnersAlike, limits, out);
    for (int k = 0; k < 4; ++k) {
      row.outU[(x + k) * cs] = static_cast<Sample>(out[k]);
      row.outV[(x + k) * cs] = static_cast<Sample>(out[k + 4]);
    }
  }
}

template void BlendStillBlocks(const StillRow<uint8_t>&, const StillLimits&, int32_t*);
template void BlendStillBlocks(const StillRow<uint16_t>&, const StillLimits&, int32_t*);

}  // namespace velmire
