#include "stronger/still_blend.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

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


// scratch.chunks[j] for j = 1 .. n / 8 + 1: |low-passed (n - other)| summed over the luma
// samples 8j - 4 .. 8j + 3, the differences of the row's luma rows added. A block at luma
// sample 8j judges the window of chunks j and j + 1.
template <typename Sample>
void LowpassedChunks(const StillRow<Sample>& row, int other, int shift,
                     StillScratch<Sample>& scratch) {
  scratch.kernels.lowpassedChunks(row.luma[1], row.luma[other], row.lumaRows, row.lumaSamples,
                                  row.lumaStride, shift, scratch.d.data(), scratch.t.data(),
                                  scratch.chunks.data());
}

// Marks in bit `bit` of scratch.state every block still against frame `other` (0 or 2), and
// returns how many blocks are not.
template <typename Sample>
int MarkStill(const StillRow<Sample>& row, int other, int shift, int64_t limit, uint8_t bit,
              StillScratch<Sample>& scratch) {
  LowpassedChunks(row, other, shift, scratch);
  const int32_t* __restrict chunks = scratch.chunks.data();
  uint8_t* __restrict state = scratch.state.data();
  // The block at chroma column 4 chunk starts at luma sample 8 chunk. Two chunk sums stay far
  // below 2^31 (16 x 60 x 2 x 255 in 8-bit steps), so 32-bit comparisons, which vectorise,
  // decide.
  const int32_t below = int32_t(std::min<int64_t>(limit, INT32_MAX));
  const int blocks = (row.chromaWidth - 5) / 4;  // those at x = 4, 8, .. below chromaWidth - 4
  int changed = 0;
  for (int chunk = 1; chunk <= blocks; ++chunk) {
    const bool still = chunks[chunk] + chunks[chunk + 1] < below;
    changed += !still;
    state[chunk] = uint8_t(state[chunk] | (still ? bit : 0));
  }
  return changed;
}

// The blend of chroma samples from .. to-1 of one plane, planar or packed.
template <typename Sample>
void BlendStillRun(const StillRow<Sample>& row, const Sample* const in[3], Sample* out, int from,
                   int to, bool partnersAlike, const StillLimits& limits,
                   const StillScratch<Sample>& scratch) {
  const int at = from * row.chromaStride;
  const auto blend =
      row.chromaStride == 1 ? scratch.kernels.blendRun : scratch.kernels.blendRunPacked;
  blend(in[0] + at, in[1] + at, in[2] + at, out + at, to - from, partnersAlike, limits.shift,
        limits.maxValue);
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

// Chroma samples from .. to-1 of both planes: (n-2 + 2 (n-1) + 2 n + 2 (n+1) + n+2) / 8, see
// stronger/still_blend.h. The weights cancel cross-colour that flips from frame to frame
// (NTSC: 1 - 2 + 2 - 2 + 1 = 0 on the phase of frame n) and cross-colour that turns a quarter
// cycle a frame (PAL: frames n-2 and n+2 carry the opposite of frame n's, 2 - 1 - 1 = 0, and
// frames n-1 and n+1 the opposite of each other's), and weigh noise less than any three-frame
// blend: its variance is 7/32 of a frame's against 3/8 for (n-1 + 2n + n+1) / 4. Packed rows
// (YUY2, where V follows U two bytes on) take U and V in one interleaved run.
template <typename Sample>
void BlendFiveRuns(const StillRow<Sample>& row, int from, int to, const StillLimits& limits,
                   const StillScratch<Sample>& scratch) {
  const int at = from * row.chromaStride;
  auto five = [&](const Sample* const inner[3], const Sample* const outer[2]) {
    return std::array<const Sample*, 5>{outer[0] + at, inner[0] + at, inner[1] + at,
                                        inner[2] + at, outer[1] + at};
  };
  if (row.chromaStride == 1) {
    scratch.kernels.blendFive(five(row.u, row.outerU).data(), row.outU + at, to - from,
                              limits.shift, limits.maxValue);
    scratch.kernels.blendFive(five(row.v, row.outerV).data(), row.outV + at, to - from,
                              limits.shift, limits.maxValue);
  } else {
    scratch.kernels.blendFiveInterleaved(five(row.u, row.outerU).data(), row.outU + at,
                                         2 * (to - from), limits.shift, limits.maxValue);
  }
}

}  // namespace

void AddAgreement(const BlockTriple& block, int64_t& agree, int64_t& oppose) {
  for (int i = 0; i < 8; ++i) {
    agree += std::abs(block.a[i] - block.b[i]);
    oppose += std::abs(block.a[i] + block.b[i] - 2 * block.own[i]);
  }
}

template <typename Sample>
void JudgeStillBlocks(const StillRow<Sample>& row, const StillLimits& limits,
                      StillScratch<Sample>& scratch) {
  // The low-pass works in 8-bit steps at every depth (stronger/still_kernels.h).
  const int64_t limit = int64_t(kStillStep) * kLowpassGain * kWindowSamples * row.lumaRows;
  static_assert(kWindowSamples == 8 + 2 * kWindowReach);
  const int blocks = std::max(0, (row.chromaWidth - 4 - 4 + 3) / 4);
  uint8_t* state = scratch.state.data();
  std::fill(state, state + blocks + 2, uint8_t{0});
  scratch.anyBlend = false;
  if (blocks == 0) return;

  // A row most of whose blocks differ from a partner shows another shot there (a cut): then
  // even the blocks that look still (flat areas of the same brightness) are left alone, as
  // their colour may well have changed. A row that fails against frame n-1 is not judged
  // against frame n+1 at all.
  constexpr uint8_t kStillBefore = 1, kStillAfter = 2;
  const auto keepAll = [&] {
    std::fill(state, state + blocks + 2, uint8_t{kKeepSearch});
  };
  const auto notStill = [&](const StillRow<Sample>& partners, int other, uint8_t bit) {
    return MarkStill(partners, other, limits.shift, limit, bit, scratch);
  };
  if (2 * notStill(row, 0, kStillBefore) > blocks) return keepAll();
  if (2 * notStill(row, 2, kStillAfter) > blocks) return keepAll();

  // The row's vote on the partners: the still blocks with detail, where cross-colour is
  // strongest, say whether the partners agree with each other.
  int64_t agree = 0;
  int64_t oppose = 0;
  const int end = row.chromaWidth - 4;
  constexpr uint8_t kStillInner = kStillBefore | kStillAfter;
  scratch.kernels.vote(row.luma[1][0], row.lumaStride, row.u, row.v, row.chromaStride, state,
                       kStillInner, end, limits.detail, &agree, &oppose);
  const bool partnersAlike = 2 * agree <= oppose;
  scratch.partnersAlike = partnersAlike;

  // Stillness against frames n-2 and n+2 as well, where they exist; unless most of the row's
  // blocks are not still against one of them (another shot there), as for n-1 and n+1.
  constexpr uint8_t kStillBefore2 = 4, kStillAfter2 = 8, kStillOuter = 4 | 8;
  constexpr uint8_t kStillAll = kStillInner | kStillOuter;
  const StillRow<Sample> outer = OuterPartners(row);
  if (row.outerLuma[0][0] != nullptr) {
    const bool outerUsable = 2 * notStill(outer, 0, kStillBefore2) <= blocks &&
                             2 * notStill(outer, 2, kStillAfter2) <= blocks;
    if (!outerUsable) {
      for (int b = 0; b < blocks + 2; ++b) state[b] = uint8_t(state[b] & ~kStillOuter);
    }
  }

  // In PAL rows, the blocks still against frames n-2 and n+2 but not against both n-1 and n+1
  // blend n-2, n and n+2: unless frames n-2 and n+2 stray less from frame n than n-1 and n+1
  // do (their cross-colour is not opposite to frame n's, as in NTSC rows that the vote took
  // for PAL, where n-2 and n+2 carry frame n's own). The strays are summed over the still
  // blocks with detail, those of n-2 and n+2 over the blocks still against all four: fewer
  // blocks, so they must stray further.
  bool outerPair = false;
  if (!partnersAlike && row.outerLuma[0][0] != nullptr) {
    int64_t outerAgree = 0, outerOppose = 0;
    scratch.kernels.vote(row.luma[1][0], row.lumaStride, outer.u, outer.v, row.chromaStride,
                         state, kStillAll, end, limits.detail, &outerAgree, &outerOppose);
    outerPair = outerOppose > oppose;
  }

  // Each block's blend: the five frames' (stronger/still_blend.h) when it is still against
  // all four; else (a + 2 own + b) / 4 of frames n-1 and n+1 when the partners are alike, or
  // (a + b) / 2 of them when they are not, for blocks still against both; else, in PAL rows,
  // (a + 2 own + b) / 4 of frames n-2 and n+2 for blocks still against those.
  // Branch-free, so that the compiler vectorises it; state[0] and state[blocks + 1] stay 0,
  // kKeepSearch.
  const uint8_t outerBlend = outerPair ? kBlendOuter : kKeepSearch;
  uint8_t any = 0;
  for (int b = 1; b <= blocks; ++b) {
    const uint8_t st = state[b];
    const uint8_t blend = st == kStillAll                     ? uint8_t{kBlendFive}
                          : (st & kStillInner) == kStillInner ? uint8_t{kBlendInner}
                          : (st & kStillOuter) == kStillOuter ? outerBlend
                                                              : uint8_t{kKeepSearch};
    state[b] = blend;
    any |= blend;
  }
  scratch.anyBlend = any != kKeepSearch;
}

namespace {

template <int kEntriesPerColumn>
void ClearBlendedMarksOf(const uint8_t* judged, int chromaWidth, uint8_t* mask) {
  constexpr uint8_t kZeros[4 * kEntriesPerColumn] = {};
  for (int x = 4; x < chromaWidth - 4; x += 4) {
    if (judged[x / 4] != kKeepSearch) {
      std::memcpy(mask + x * kEntriesPerColumn, kZeros, sizeof kZeros);
    }
  }
}

}  // namespace

void ClearBlendedMarks(const uint8_t* judged, int chromaWidth, int entriesPerColumn,
                       uint8_t* mask) {
  // A block's entries cleared in one store of a size known here, not a call per block.
  if (entriesPerColumn == 1) {
    ClearBlendedMarksOf<1>(judged, chromaWidth, mask);
  } else {
    ClearBlendedMarksOf<4>(judged, chromaWidth, mask);
  }
}

// Rounded to the nearest value (halves up, in 8-bit steps) and at most maxValue; runs of
// neighbouring blocks that take the same blend in one loop per plane.
template <typename Sample>
void BlendJudgedBlocks(const StillRow<Sample>& row, const StillLimits& limits,
                       const StillScratch<Sample>& scratch) {
  if (!scratch.anyBlend) return;
  const uint8_t* state = scratch.state.data();
  const StillRow<Sample> outer = OuterPartners(row);
  const int end = row.chromaWidth - 4;
  for (int x = 4; x < end; x += 4) {
    const uint8_t blend = state[x / 4];
    if (blend == kKeepSearch) continue;
    int runEnd = x + 4;
    while (runEnd < end && state[runEnd / 4] == blend) runEnd += 4;
    if (blend == kBlendFive) {
      BlendFiveRuns(row, x, runEnd, limits, scratch);
      x = runEnd - 4;
      continue;
    }
    for (int plane = 0; plane < 2; ++plane) {
      const Sample* const* in = plane == 0 ? row.u : row.v;
      const Sample* const* outerIn = plane == 0 ? outer.u : outer.v;
      Sample* out = plane == 0 ? row.outU : row.outV;
      if (blend == kBlendInner) {
        BlendStillRun(row, in, out, x, runEnd, scratch.partnersAlike, limits, scratch);
      } else {
        BlendStillRun(row, outerIn, out, x, runEnd, true, limits, scratch);
      }
    }
    x = runEnd - 4;
  }
}

template void JudgeStillBlocks(const StillRow<uint8_t>&, const StillLimits&,
                               StillScratch<uint8_t>&);
template void JudgeStillBlocks(const StillRow<uint16_t>&, const StillLimits&,
                               StillScratch<uint16_t>&);
template void BlendJudgedBlocks(const StillRow<uint8_t>&, const StillLimits&,
                                const StillScratch<uint8_t>&);
template void BlendJudgedBlocks(const StillRow<uint16_t>&, const StillLimits&,
                                const StillScratch<uint16_t>&);

}  // namespace velmire
