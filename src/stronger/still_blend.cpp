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


// |low-passed (now - then)| at every luma sample of a row, stored in acc (Add false) or added
// to it (Add true). The differences are laid out with four copies of the first before them and
// five of the last after them, as the taps over samples i-4 .. i+5 reach past the row's ends;
// then the three boxes run one after the other. Plain loops over contiguous arrays, so the
// compiler vectorises them.
template <int Stride, bool Add, typename Sample, typename Work>
void LowpassedDifference(const Sample* now, const Sample* then, int n, Work* __restrict d,
                         Work* __restrict t, Work* __restrict acc) {
  for (int i = 0; i < n; ++i) d[i + 4] = Work(int(now[i * Stride]) - int(then[i * Stride]));
  for (int k = 0; k < 4; ++k) d[k] = d[4];
  for (int k = n + 4; k < n + 9; ++k) d[k] = d[n + 3];
  for (int k = 0; k < n + 7; ++k) t[k] = Work(d[k] + d[k + 1] + d[k + 2]);
  for (int k = 0; k < n + 4; ++k) d[k] = Work(t[k] + t[k + 1] + t[k + 2] + t[k + 3]);
  for (int i = 0; i < n; ++i) {
    // In the working type throughout: a detour through int would halve the lanes.
    const Work sum = Work(d[i] + d[i + 1] + d[i + 2] + d[i + 3] + d[i + 4]);
    const Work low = sum < 0 ? Work(-sum) : sum;
    acc[i] = Add ? Work(acc[i] + low) : low;
  }
}

// scratch.acc[i] for every luma sample i: |low-passed (n - other)|, added up over the row's
// luma rows.
template <int Stride, typename Sample>
void LowpassedDifferences(const StillRow<Sample>& row, int other, StillScratch<Sample>& scratch) {
  const int n = row.lumaSamples;
  auto* d = scratch.d.data();
  auto* t = scratch.t.data();
  auto* acc = scratch.acc.data();
  LowpassedDifference<Stride, false>(row.luma[1][0], row.luma[other][0], n, d, t, acc);
  for (int r = 1; r < row.lumaRows; ++r) {
    LowpassedDifference<Stride, true>(row.luma[1][r], row.luma[other][r], n, d, t, acc);
  }
}

// Sums of acc over the eight samples 8j - 4 .. 8j + 3 (those inside the row) into chunks[j],
// for j = 1 .. n / 8 + 1: a block at luma sample 8j judges the window of chunks j and j + 1.
template <typename Work>
void ChunkSums(const Work* acc, int n, int32_t* chunks) {
  int j = 1;
  for (; 8 * j + 4 <= n; ++j) {
    const Work* a = acc + 8 * j - 4;
    chunks[j] = int32_t(a[0]) + a[1] + a[2] + a[3] + a[4] + a[5] + a[6] + a[7];
  }
  for (; 8 * j - 4 < n; ++j) {
    int32_t sum = 0;
    for (int i = 8 * j - 4; i < n; ++i) sum += acc[i];
    chunks[j] = sum;
  }
}

// Marks in bit `bit` of scratch.state every block still against frame `other` (0 or 2), and
// returns how many blocks are not.
template <typename Sample>
int MarkStill(const StillRow<Sample>& row, int other, int64_t limit, uint8_t bit,
              StillScratch<Sample>& scratch) {
  if (row.lumaStride == 1) {
    LowpassedDifferences<1>(row, other, scratch);
  } else {
    LowpassedDifferences<2>(row, other, scratch);
  }
  int32_t* chunks = scratch.chunks.data();
  ChunkSums(scratch.acc.data(), row.lumaSamples, chunks);
  uint8_t* state = scratch.state.data();
  int changed = 0;
  for (int x = 4; x < row.chromaWidth - 4; x += 4) {
    const int chunk = x / 4;  // the block starts at luma sample 2x = 8 chunk
    const bool still = chunks[chunk] + chunks[chunk + 1] < limit;
    changed += !still;
    state[chunk] = uint8_t(state[chunk] | (still ? bit : 0));
  }
  return changed;
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
template <int Stride, typename Sample, typename Blend>
void BlendRun(const Sample* const in[3], Sample* __restrict out, int from, int to, Blend blend) {
  const Sample* __restrict a = in[0];
  const Sample* __restrict own = in[1];
  const Sample* __restrict b = in[2];
  for (int x = from; x < to; ++x) {
    const int at = x * Stride;
    out[at] = static_cast<Sample>(blend(int(a[at]), int(own[at]), int(b[at])));
  }
}

// BlendRun with the row's chroma stride: 1 in planar rows, 4 in packed ones.
template <typename Sample, typename Blend>
void BlendRunOf(const StillRow<Sample>& row, const Sample* const in[3], Sample* out, int from,
                int to, Blend blend) {
  if (row.chromaStride == 1) {
    BlendRun<1>(in, out, from, to, blend);
  } else {
    BlendRun<4>(in, out, from, to, blend);
  }
}

// The row with frames n-2 and n+2 in the places of frames n-1 and n+1: what MarkStill and
// BlendRun read for PAL's outer partners.
template <typename Sample>
StillRow<Sample> OuterPartners(const StillRow<Sample>& row) {
  StillRow<Sample> outer = row;
  for (int side = 0; side < 2; ++side) {
    for (int r = 0; r < 2; ++r) outer.luma[2 * side][r] = row.outerLuma[side][r];
    outer.u[2 * side] = row.outerU[side];
    outer.v[2 * side] = row.outerV[side];
  }
  return outer;
}

}  // namespace

void AddAgreement(const BlockTriple& block, int64_t& agree, int64_t& oppose) {
  for (int i = 0; i < 8; ++i) {
    agree += std::abs(block.a[i] - block.b[i]);
    oppose += std::abs(block.a[i] + block.b[i] - 2 * block.own[i]);
  }
}

template <typename Sample>
void BlendStillBlocks(const StillRow<Sample>& row, const StillLimits& limits,
                      StillScratch<Sample>& scratch) {
  const int64_t limit =
      int64_t(kStillStep << limits.shift) * kLowpassGain * kWindowSamples * row.lumaRows;
  static_assert(kWindowSamples == 8 + 2 * kWindowReach);
  const int blocks = std::max(0, (row.chromaWidth - 4 - 4 + 3) / 4);
  if (blocks == 0) return;
  uint8_t* state = scratch.state.data();
  std::fill(state, state + blocks + 2, uint8_t{0});

  // A row most of whose blocks differ from a partner shows another shot there (a cut): then
  // even the blocks that look still (flat areas of the same brightness) are left alone, as
  // their colour may well have changed. A row that fails against frame n-1 is not judged
  // against frame n+1 at all.
  constexpr uint8_t kStillBefore = 1, kStillAfter = 2;
  if (2 * MarkStill(row, 0, limit, kStillBefore, scratch) > blocks) return;
  if (2 * MarkStill(row, 2, limit, kStillAfter, scratch) > blocks) return;

  // The row's vote on the partners: the still blocks with detail, where cross-colour is
  // strongest, say whether the partners agree with each other.
  int64_t agree = 0;
  int64_t oppose = 0;
  BlockTriple block;
  const int end = row.chromaWidth - 4;
  constexpr uint8_t kStillInner = kStillBefore | kStillAfter;
  const auto still = [&](int x) { return (state[x / 4] & kStillInner) == kStillInner; };
  for (int x = 4; x < end; x += 4) {
    if (still(x) && HasDetail(row, 2 * x, limits.detail)) {
      ReadBlock(row, x, block);
      AddAgreement(block, agree, oppose);
    }
  }
  const bool partnersAlike = 2 * agree <= oppose;

  // In PAL, the blocks still against frames n-2 and n+2 as well blend those: unless most of
  // the row's blocks are not (another shot in one of them), as for frames n-1 and n+1, or
  // frames n-2 and n+2 stray less from frame n than n-1 and n+1 do (their cross-colour is not
  // opposite to frame n's, as in NTSC rows that the vote took for PAL, where n-2 and n+2 carry
  // frame n's own). The strays are summed over the still blocks with detail, those of n-2 and
  // n+2 over the blocks still against them as well: fewer blocks, so they must stray further.
  constexpr uint8_t kStillBefore2 = 4, kStillAfter2 = 8, kStillOuter = 4 | 8;
  const StillRow<Sample> outer = OuterPartners(row);
  const auto outerStill = [&](int x) { return (state[x / 4] & kStillOuter) == kStillOuter; };
  if (!partnersAlike && row.outerLuma[0][0] != nullptr) {
    bool useOuter = 2 * MarkStill(outer, 0, limit, kStillBefore2, scratch) <= blocks &&
                    2 * MarkStill(outer, 2, limit, kStillAfter2, scratch) <= blocks;
    if (useOuter) {
      int64_t outerAgree = 0, outerOppose = 0;
      for (int x = 4; x < end; x += 4) {
        if (still(x) && outerStill(x) && HasDetail(row, 2 * x, limits.detail)) {
          ReadBlock(outer, x, block);
          AddAgreement(block, outerAgree, outerOppose);
        }
      }
      useOuter = outerOppose > oppose;
    }
    if (!useOuter) {
      for (int b = 0; b < blocks + 2; ++b) state[b] = uint8_t(state[b] & ~kStillOuter);
    }
  }

  // The blend: (a + 2 own + b) / 4 of frames n-1 and n+1 when the partners are alike, or of
  // frames n-2 and n+2 for the blocks still against those (whether or not they are against
  // n-1 and n+1), else (a + b) / 2 of frames n-1 and n+1, rounded to the nearest value
  // (halves up, in 8-bit steps) and at most maxValue; runs of neighbouring blocks that take
  // the same blend in one loop per plane.
  const auto blended = [&](int x) { return still(x) || outerStill(x); };
  for (int x = 4; x < end; x += 4) {
    if (!blended(x)) continue;
    const bool useOuter = !partnersAlike && outerStill(x);
    int runEnd = x + 4;
    while (runEnd < end && blended(runEnd) && (partnersAlike || outerStill(runEnd) == useOuter)) {
      runEnd += 4;
    }
    const StillRow<Sample>& partners = useOuter ? outer : row;
    for (int plane = 0; plane < 2; ++plane) {
      const Sample* const* in = plane == 0 ? partners.u : partners.v;
      Sample* out = plane == 0 ? row.outU : row.outV;
      if (partnersAlike || useOuter) {
        BlendRunOf(row, in, out, x, runEnd, [&](int a, int own, int b) {
          return Round(a + 2 * own + b, 2, limits);
        });
      } else {
        BlendRunOf(row, in, out, x, runEnd,
                   [&](int a, int, int b) { return Round(a + b, 1, limits); });
      }
    }
    x = runEnd - 4;
  }
}

template void BlendStillBlocks(const StillRow<uint8_t>&, const StillLimits&,
                               StillScratch<uint8_t>&);
template void BlendStillBlocks(const StillRow<uint16_t>&, const StillLimits&,
                               StillScratch<uint16_t>&);

}  // namespace velmire
