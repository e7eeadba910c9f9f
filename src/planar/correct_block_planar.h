// Block search and chroma blend of one planar block (four chroma columns, eight luma samples),
// for 8-bit samples and for 9- to 16-bit samples in 16-bit containers.
#pragma once

#include <array>
#include <cstdint>

#include "rows/marked_blocks.h"
#include "stronger/partner_blend.h"

namespace velmire {

struct PartnerEntriesPlanar;

// The longer of the candidate lists a planar row can use (the 4:2:2 list).
inline constexpr int kPlanarMaxCandidates = 50;

// One table entry of a chroma row, resolved to row starts.
template <typename Sample>
struct RowCandidatePlanarOf {
  const Sample* luma;       // candidate luma row (frame n-1, n or n+1)
  const Sample* reference;  // reference luma row of frame n it is compared with
  const Sample* u;          // chroma rows the blend reads when this entry wins
  const Sample* v;
  int lumaOffset;    // d: the candidate block is luma[2x+d .. 2x+d+7]
  int chromaOffset;  // e = d/2: the source is u/v[x+e .. x+e+3]
};

// Everything one chroma row needs; built once per row by the pass.
template <typename Sample>
struct RowJobPlanarOf {
  std::array<RowCandidatePlanarOf<Sample>, kPlanarMaxCandidates> candidates;  // in table order
  int count;  // entries in use
  const Sample* sourceU;  // chroma row cy of the unchanged frame n
  const Sample* sourceV;
  Sample* outputU;  // chroma row cy of the output frame
  Sample* outputV;
  int chromaWidth;  // W, chroma samples per row
  int noise;        // in the samples' units
  // Every entry compares with the same reference row (the 4:2:2 list, table B): a search may
  // read the block's reference once.
  bool sharedReference = false;
  // The stronger mode: its partners among the entries, or null in mode 0, and its limits.
  const PartnerEntriesPlanar* partners = nullptr;
  PartnerLimits limits{};
};

using RowCandidatePlanar = RowCandidatePlanarOf<uint8_t>;
using RowJobPlanar = RowJobPlanarOf<uint8_t>;
using RowCandidatePlanar16 = RowCandidatePlanarOf<uint16_t>;
using RowJobPlanar16 = RowJobPlanarOf<uint16_t>;

// Searches the row's entries for the block at chroma column x (4 <= x, x + 4 <= chromaWidth)
// and writes output U and V columns x .. x+3: marked columns averaged (rounding down) with the
// selected source, unmarked ones copied from frame n. An entry whose chroma columns
// x+e .. x+e+3 would reach past column W-1 is left out. `mask` has one entry per chroma column.
template <typename Sample>
using CorrectBlockPlanarFnOf = void (*)(const RowJobPlanarOf<Sample>& job, int x,
                                        const uint8_t* mask);
using CorrectBlockPlanarFn = CorrectBlockPlanarFnOf<uint8_t>;
using CorrectBlockPlanar16Fn = CorrectBlockPlanarFnOf<uint16_t>;

void CorrectBlockPlanarPortable(const RowJobPlanar& job, int x, const uint8_t* mask);
void CorrectBlockPlanar16Portable(const RowJobPlanar16& job, int x, const uint8_t* mask);

// The row's marked blocks, x = 4, 8, ... below chromaWidth - 4 with a mark among their four
// mask entries, each searched and blended, and with job.partners each followed by the stronger
// mode's blend: what the pass calls, once per row.
template <typename Sample>
using CorrectRowPlanarFnOf = void (*)(const RowJobPlanarOf<Sample>& job, const uint8_t* mask);

void CorrectRowPlanarPortable(const RowJobPlanar& job, const uint8_t* mask);
void CorrectRowPlanar16Portable(const RowJobPlanar16& job, const uint8_t* mask);

inline constexpr int kBlockColumnsPlanar = 4;

// The blocks CorrectRowPlanar visits, each given to visit(x). Columns 0 .. 3 and those right of
// the last whole block are never corrected.
template <typename Sample, typename Visit>
inline void ForEachMarkedBlockPlanar(const RowJobPlanarOf<Sample>& job, const uint8_t* mask,
                                     Visit visit) {
  ForEachMarkedBlock<kBlockColumnsPlanar>(mask, kBlockColumnsPlanar,
                                          job.chromaWidth - kBlockColumnsPlanar, visit);
}

}  // namespace velmire
