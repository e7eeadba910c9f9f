// Resolution of a candidate table against the frames of one chroma row: every entry becomes
// the row starts the block search reads, so the per-block work is pure column arithmetic.
#pragma once

#include <array>
#include <span>

#include "planar/candidate_tables_planar.h"
#include "planar/correct_block_planar.h"
#include "planar/planar_planes.h"

namespace velmire {

// Holds the resolved entries that a row job points to; the job stays valid until the next
// Resolve or the end of this object's life.
template <typename Sample>
class PlanarRowCandidates {
 public:
  // Chroma row cy of a frame chromaWidth samples wide, whose luma row is lumaRow (2cy in 4:2:0,
  // cy in 4:2:2); every row the table reaches lies inside the planes. table has at most
  // kPlanarMaxCandidates entries.
  PlanarRowJobOf<Sample> Resolve(std::span<const PlanarTableEntry> table,
                                 const PlanarPassPlanes& planes, int cy, int lumaRow,
                                 int chromaWidth, int noise);

 private:
  std::array<PlanarCandidateOf<Sample>, kPlanarMaxCandidates> entries_{};
};

}  // namespace velmire
