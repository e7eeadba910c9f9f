// The ordered list of displaced blocks that the YUY2 block search compares a block with.
//
// Every entry names a frame (-1: n-1, 0: n, +1: n+1), a row relative to the working row y
// (-2 .. +2) and a horizontal shift in pixels (-6 .. +6, always even, so the candidate's U and
// V bytes lie over the block's). The list is three sweeps over the same fourteen rows: all
// negative shifts, then all zero shifts, then all positive shifts; within a sweep frames n-1, n,
// n+1 and rows top to bottom; within a row the larger displacement first. Row y of frame n (the
// block's own row) is never a candidate. Order matters: of equal scores the earlier entry wins.
#pragma once

#include <array>
#include <cstdint>

#include "yuy2/correct_block_yuy2.h"

namespace velmire {

struct CandidateEntryYUY2 {
  int8_t frame;      // -1, 0 or +1: which of frames n-1, n, n+1 holds the candidate
  int8_t rowOffset;  // candidate row relative to the working row
  int8_t shift;      // pixels; the candidate block starts 2*shift bytes from the block
};

extern const std::array<CandidateEntryYUY2, kYuy2CandidateCount> CandidateTableYUY2;

}  // namespace velmire
