// Block search and chroma blend of one 16-byte YUY2 block (four macropixels).
#pragma once

#include <array>
#include <cstdint>

#include "rows/marked_blocks.h"
#include "stronger/partner_blend.h"

namespace velmire {

struct PartnerEntriesYUY2;

inline constexpr int kYuy2CandidateCount = 50;

// Every candidate's shift lies within -kLargestShiftYUY2 .. +kLargestShiftYUY2 pixels.
inline constexpr int kLargestShiftYUY2 = 6;

// One candidate of a working row, resolved to the start of the row it reads.
struct RowCandidateYUY2 {
  const uint8_t* row;  // start of the candidate's row in frame n-1, n or n+1
  int shift;           // displacement in pixels (within kLargestShiftYUY2); the block starts
                       // 2*shift bytes from row + x
};

// Everything one working row needs; built once per row by the pass.
struct RowJobYUY2 {
  std::array<RowCandidateYUY2, kYuy2CandidateCount> candidates;  // in search order
  const uint8_t* reference;  // row y of the unchanged frame n
  uint8_t* output;           // row y of the output frame
  int rowSize;               // row width in bytes (W)
  int noise;                 // starting best score: only a strictly smaller score is accepted
  // The stronger mode: its partners among the candidates, or null in mode 0, and its limits.
  const PartnerEntriesYUY2* partners = nullptr;
  PartnerLimits limits{};
};

// Searches all candidates for the block at byte offset x (16 <= x, x + 16 <= rowSize) and writes
// output bytes x .. x+15: luma copied, U and V of marked macropixels averaged (rounding down)
// with the best block's. A candidate whose 16 bytes would reach past the row's last byte is
// left out. `mask` is the row's edge mask (one entry per byte).
using CorrectBlockYUY2Fn = void (*)(const RowJobYUY2& job, int x, const uint8_t* mask);

void CorrectBlockYUY2Portable(const RowJobYUY2& job, int x, const uint8_t* mask);

// The row's marked blocks, x = 16, 32, ... below rowSize - 16 with a mark among their 16 mask
// entries, each searched and blended, and with job.partners each followed by the stronger
// mode's blend: what the pass calls, once per row.
using CorrectRowYUY2Fn = void (*)(const RowJobYUY2& job, const uint8_t* mask);

void CorrectRowYUY2Portable(const RowJobYUY2& job, const uint8_t* mask);

// The blocks CorrectRowYUY2 visits, each given to visit(x).
template <typename Visit>
inline void ForEachMarkedBlockYUY2(const RowJobYUY2& job, const uint8_t* mask, Visit visit);

inline constexpr int kBlockBytesYUY2 = 16;

template <typename Visit>
inline void ForEachMarkedBlockYUY2(const RowJobYUY2& job, const uint8_t* mask, Visit visit) {
  // The first block starts at byte 16 and the last ends at least 16 bytes before the row's end,
  // so every candidate starts at byte 4 or later.
  ForEachMarkedBlock<kBlockBytesYUY2>(mask, kBlockBytesYUY2, job.rowSize - kBlockBytesYUY2,
                                      visit);
}

}  // namespace velmire
