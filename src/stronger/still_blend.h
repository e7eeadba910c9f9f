// The stronger mode's temporal blend of still blocks. On a still picture the cross-colour of
// composite video turns with the subcarrier's phase while the true chroma stays: in NTSC the
// phase at a place is opposite in consecutive frames, so frames n-1 and n+1 carry the opposite
// of frame n's cross-colour and (n-1 + 2n + n+1) / 4 cancels it; in PAL it turns three quarters
// of a cycle a frame and the V switch flips, so frames n-1 and n+1 are in opposite phase to
// each other and (n-1 + n+1) / 2 cancels it. Which of the two holds is read from the row's
// chroma, by a vote of its still blocks with detail: the partners agree with each other
// (NTSC) or stray from each other as far as from frame n (PAL). Where frames n-2 and n+2 are
// there too, a block still against all four partners takes
// (n-2 + 2 (n-1) + 2 n + 2 (n+1) + n+2) / 8, whatever the standard: these weights cancel both
// cross-colour that flips from frame to frame (NTSC) and cross-colour a quarter turn on each
// frame (PAL, where n-2 and n+2, a half turn away, carry the opposite of frame n's), and they
// leave 7/32 of a frame's noise where the three-frame blends leave 3/8 and 1/2. In PAL rows a
// block still against n-2 and n+2 but not against n-1 and n+1 takes (n-2 + 2n + n+2) / 4; the
// other still blocks take the three-frame blend of n-1, n and n+1.
//
// Stillness is judged on luma with the subcarrier filtered out: the decoder's residual
// subcarrier (dot crawl) flips with the phase too, so raw luma of a still picture differs from
// frame to frame exactly where cross-colour is. A horizontal low-pass of a 3-, a 4- and a
// 5-tap box in a row has zeros at 0.2, 0.25, 0.33 and 0.4 cycles a sample, and so lets less
// than 1 % through over the whole chroma band around NTSC's (0.265) and PAL's (0.328)
// subcarrier at 13.5 MHz sampling, while it keeps the picture's coarse structure, which moves
// when anything moves. A block is still against a partner when the low-passed luma difference
// over the block's luma and four samples either side is below two 8-bit steps a sample on
// average (noise gives less than one, moving detail several); in 4:2:0 the differences of the
// chroma row's two luma rows are added before the low-pass; only blocks still against every
// partner of their blend change, all their chroma, marked or not. A row most of whose blocks
// are not still against frame n-1 or n+1 shows another shot there (a cut), and is left alone
// whole: flat areas of the same brightness would look still while their colour changed; a
// row most of whose blocks are not still against frame n-2 or n+2 does without them, for the
// same reason. Where a block is not still, the block search's
// result stays.
//
// Everything is in the samples' own units and scales with them (the low-pass brings its sums
// back to 8-bit steps): a clip of 8-bit samples shifted left by b-8 bits gives, shifted back,
// exactly the 8-bit results. Each row is judged before the block search runs on it, so that the
// search can skip the blocks the blend will replace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "stronger/still_kernels.h"

namespace velmire {

// One working row of a pass: the luma rows of the row's chroma (one, or two in 4:2:0) in
// frames n-1, n and n+1, and the chroma of the three frames and of the output; the same of
// frames n-2 and n+2 (PAL's blend partners), or null pointers there where a pass has only
// three frames. Packed YUY2 is read with strides: luma every 2 bytes, U and V every 4.
template <typename Sample>
struct StillRow {
  const Sample* luma[3][2];  // [frame n-1, n, n+1][luma row]
  int lumaRows;              // 1 or 2
  int lumaStride;            // elements from one luma sample to the next
  int lumaSamples;           // luma samples in a row: twice the chroma width
  const Sample* u[3];        // [frame n-1, n, n+1]
  const Sample* v[3];
  const Sample* outerLuma[2][2];  // [frame n-2, n+2][luma row], or null
  const Sample* outerU[2];        // [frame n-2, n+2], or null
  const Sample* outerV[2];
  Sample* outU;
  Sample* outV;
  int chromaStride;  // elements from one chroma sample to the next
  int chromaWidth;
};

struct StillLimits {
  int detail;    // ThresholdY in the samples' units: blocks with detail vote on the partners
  int shift;     // bits per sample - 8
  int maxValue;  // the largest sample value
};

// Working storage for rows of up to lumaSamples luma samples, and the kernels that work on it,
// made once per pass.
template <typename Sample>
struct StillScratch {
  using Work = StillWork<Sample>;
  explicit StillScratch(int lumaSamples,
                        StillKernelsOf<Sample> kernelsIn = PortableStillKernels<Sample>())
      : kernels(kernelsIn),
        d(static_cast<std::size_t>(lumaSamples) + 9 + kStillWorkSlack),
        t(static_cast<std::size_t>(lumaSamples) + 9 + kStillWorkSlack),
        chunks(static_cast<std::size_t>(lumaSamples) / 8 + 3),
        state(static_cast<std::size_t>(lumaSamples) / 8 + 3) {}
  StillKernelsOf<Sample> kernels;
  std::vector<Work> d, t;       // the low-pass's working rows
  std::vector<int32_t> chunks;  // |low-pass| summed over eight samples
  // Per block (index x / 4), first its stillness: bits 0 .. 3 against frame n-1, n+1, n-2, n+2;
  // once judged, its StillBlend.
  std::vector<uint8_t> state;
  bool partnersAlike = false;  // the row's vote, once judged
  bool anyBlend = false;       // whether any block of the row is blended
};

// What a judged block takes (stronger/still_blend.h's first comment).
enum StillBlend : uint8_t { kKeepSearch, kBlendFive, kBlendInner, kBlendOuter };

// Judges every block of the row (blocks of four chroma samples from column 4 on, while the
// block starts before chromaWidth - 4, as the block search's): leaves its StillBlend in
// scratch.state[x / 4].
template <typename Sample>
void JudgeStillBlocks(const StillRow<Sample>& row, const StillLimits& limits,
                      StillScratch<Sample>& scratch);

// Clears the mask entries (entriesPerColumn, 1 or 4, a chroma column) of the blocks judged to be
// blended: the blend replaces all their chroma, so the block search need not visit them.
void ClearBlendedMarks(const uint8_t* judged, int chromaWidth, int entriesPerColumn,
                       uint8_t* mask);

// Blends the blocks JudgeStillBlocks judged into the output; the others keep what the output
// holds.
template <typename Sample>
void BlendJudgedBlocks(const StillRow<Sample>& row, const StillLimits& limits,
                       const StillScratch<Sample>& scratch);

// Both steps: blends every still block of the row.
template <typename Sample>
void BlendStillBlocks(const StillRow<Sample>& row, const StillLimits& limits,
                      StillScratch<Sample>& scratch) {
  JudgeStillBlocks(row, limits, scratch);
  BlendJudgedBlocks(row, limits, scratch);
}

// The chroma of one block, four U then four V samples, in frame n and its partners a (frame
// n-1) and b (frame n+1).
struct BlockTriple {
  int own[8];
  int a[8];
  int b[8];
};

// Adds the block's |a - b| to `agree` and |a + b - 2 own| to `oppose`: partners alike (twice
// agree at most oppose) carry the same cross-colour, opposite to frame n's.
void AddAgreement(const BlockTriple& block, int64_t& agree, int64_t& oppose);

}  // namespace velmire
