// The stronger correction mode. Composite video's subcarrier flips its phase between
// consecutive frames at the same place (NTSC) and between consecutive lines of one field, so a
// partner of opposite phase cancels a block's cross-colour where a partner of equal phase keeps
// it. The mode takes the block search's result as it is and, on blocks of fine luma detail,
// replaces its blend with one over a pair of partners: the same place in frames n-1 and n+1
// when the luma there matches (a still area), else, in 4:2:2, the lines two rows above and
// below in frame n (the neighbouring lines of the block's own field).
//
// Everything here is in the samples' own units and scales with them: a clip of 8-bit samples
// shifted left by b-8 bits gives, shifted back, exactly the 8-bit results.
#pragma once

#include <cstdint>

#include "base/settings.h"

namespace velmire {

// The limits of the mode, in the units of samples of `bitsPerSample` bits.
struct PartnerLimits {
  int detail;  // a block has fine detail when some luma second difference exceeds this
  int noise;   // each partner's luma must differ from the block's by less
  int match;   // and the two partners' luma from each other by less
};

PartnerLimits PartnerLimitsFor(const Settings& settings, int bitsPerSample);

// Luma of a block: eight samples every `stride` elements (1 for planes, 2 for packed YUY2).
template <typename Sample>
struct LumaRun {
  const Sample* at;
  int stride;

  int operator[](int i) const { return at[i * stride]; }
};

// Whether the block starting at luma sample `first` of a row of `rowSamples` samples has fine
// detail: the largest |2C - L - R| over samples first-2 .. first+9 (those with both neighbours
// inside the row) exceeds `detail`. `row` is the row's first sample.
template <typename Sample>
bool HasFineDetail(LumaRun<Sample> row, int first, int rowSamples, int detail);

// The pair a block is blended with, as indices of its candidate list: its place in frames n-1
// and n+1 when usable(previous, next), else the rows two above and below when
// usable(above, below). `entries` is any list's record of those four indices. False when
// neither pair is usable.
template <typename Entries, typename Usable>
bool ChoosePartners(const Entries& entries, Usable usable, int* a, int* b) {
  if (usable(entries.previous, entries.next)) {
    *a = entries.previous;
    *b = entries.next;
    return true;
  }
  if (usable(entries.above, entries.below)) {
    *a = entries.above;
    *b = entries.below;
    return true;
  }
  return false;
}

// Sum of absolute differences of two eight-sample luma blocks.
template <typename Sample>
int LumaDifference(LumaRun<Sample> a, LumaRun<Sample> b);

// The chroma of one block: four U then four V samples, and which of them the mask marks.
struct BlockChroma {
  int own[8];        // frame n
  int partnerA[8];
  int partnerB[8];
  bool marked[8];
};

// The blended chroma of the marked samples (unmarked ones keep frame n's). When the partners
// stray from frame n in opposite directions more than they differ from each other (twice the
// sum of |a - b| at most the sum of |a + b - 2 own|), frame n holds cross-colour the partners
// cancel: the result is (2 own + a + b) / 4. Otherwise the partners are of opposite phase to
// each other, and their average (a + b) / 2 cancels it. Both round down.
void BlendWithPartners(const BlockChroma& chroma, int out[8]);

}  // namespace velmire
