// Resolution of a candidate table against the frames of one chroma row: every entry becomes
// the row starts the block search reads, so the per-block work is pure column arithmetic.
#pragma once

#include <array>
#include <span>

#include "planar/candidate_tables_planar.h"
#include "planar/correct_block_planar.h"
#include "planar/planar_planes.h"

namespace velmire {

// Holds the resolved entries that a PlanarRowJob points to; the job stays valid until the
// next Resolve or the end of this object's life.
class PlanarRowCandidates {
 public:
  // Chroma row cy, 1 <= cy <= H-2, of a frame chromaWidth samples wide. table has at most
  // kPlanarMaxCandidates entries.
  PlanarRowJob Resolve(std::span<const PlanarTableEntry> table, const PlanarPassPlanes& planes,
                       int cy, int chromaWidth, int noise);

 private:
  std::array<PlanarCandidate, kPlanarMaxCandidates> entries_{};
};

}  // namespace velmire
