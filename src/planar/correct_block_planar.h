// Block search and chroma blend of one planar block (four chroma columns, eight luma samples).
#pragma once

#include <cstdint>

namespace velmire {

inline constexpr int kPlanarMaxCandidates = 34;

// One table entry of a chroma row, resolved to row starts.
struct PlanarCandidate {
  const uint8_t* luma;       // candidate luma row (frame n-1, n or n+1)
  const uint8_t* reference;  // reference luma row of frame n it is compared with
  const uint8_t* u;          // chroma rows the blend reads when this entry wins
  const uint8_t* v;
  int lumaOffset;    // d: the candidate block is luma[2x+d .. 2x+d+7]
  int chromaOffset;  // e = d/2: the source is u/v[x+e .. x+e+3]
};

// Everything one chroma row needs; built once per row by the pass.
struct PlanarRowJob {
  const PlanarCandidate* candidates;  // in table order
  int count;
  const uint8_t* sourceU;  // chroma row cy of the unchanged frame n
  const uint8_t* sourceV;
  uint8_t* outputU;  // chroma row cy of the output frame
  uint8_t* outputV;
  int chromaWidth;  // W, chroma samples per row
  int noise;
};

// Searches the row's entries for the block at chroma column x (4 <= x, x + 4 <= chromaWidth)
// and writes output U and V columns x .. x+3: marked columns averaged (rounding down) with the
// selected source, unmarked ones copied from frame n. An entry whose chroma columns
// x+e .. x+e+3 would reach past column W-1 is left out. `mask` has one entry per chroma column.
using CorrectBlockPlanarFn = void (*)(const PlanarRowJob& job, int x, const uint8_t* mask);

void CorrectBlockPlanarPortable(const PlanarRowJob& job, int x, const uint8_t* mask);

}  // namespace velmire
