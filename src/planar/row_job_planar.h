// Resolution of a candidate table against the frames of one chroma row: every entry becomes
// the row starts the block search reads, so the per-block work is pure column arithmetic.
#pragma once

#include <span>

#include "planar/candidate_tables_planar.h"
#include "planar/correct_block_planar.h"
#include "planar/frame_rows_planar.h"

namespace velmire {

// The job of chroma row cy of a frame chromaWidth samples wide, whose luma row is lumaRow (2cy
// in 4:2:0, cy in 4:2:2); every row the table reaches lies inside the planes. table has at most
// kPlanarMaxCandidates entries.
template <typename Sample>
RowJobPlanarOf<Sample> MakeRowJobPlanar(std::span<const CandidateEntryPlanar> table,
                                        const InputFramesPlanar& frames, int cy, int lumaRow,
                                        int chromaWidth, int noise);

}  // namespace velmire
