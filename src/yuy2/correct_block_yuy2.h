// Block search and chroma blend of one 16-byte YUY2 block (four macropixels).
#pragma once

#include <array>
#include <cstdint>

namespace velmire {

inline constexpr int kYuy2CandidateCount = 50;

// One candidate of a working row, resolved to the start of the row it reads.
struct Yuy2Candidate {
  const uint8_t* row;  // start of the candidate's row in frame n-1, n or n+1
  int shift;           // displacement in pixels; the block starts 2*shift bytes from row + x
};

// Everything one working row needs; built once per row by the pass.
struct Yuy2RowJob {
  std::array<Yuy2Candidate, kYuy2CandidateCount> candidates;  // in search order
  const uint8_t* reference;  // row y of the unchanged frame n
  uint8_t* output;           // row y of the output frame
  int rowSize;               // row width in bytes (W)
  int noise;                 // starting best score: only a strictly smaller score is accepted
};

// Searches all candidates for the block at byte offset x (16 <= x, x + 16 <= rowSize) and writes
// output bytes x .. x+15: luma copied, U and V of marked macropixels averaged (rounding down)
// with the best block's. A candidate whose 16 bytes would reach past the row's last byte is
// left out. `mask` is the row's edge mask (one entry per byte).
using CorrectBlockYUY2Fn = void (*)(const Yuy2RowJob& job, int x, const uint8_t* mask);

void CorrectBlockYUY2Portable(const Yuy2RowJob& job, int x, const uint8_t* mask);

}  // namespace velmire
