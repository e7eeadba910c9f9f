// The stronger mode on one planar block, run after the block search has written the block's
// output: on fine detail, a usable pair of partners replaces the search's blend.
#pragma once

#include <cstdint>

#include "planar/candidate_tables_planar.h"
#include "planar/correct_block_planar.h"
#include "stronger/partner_blend.h"

namespace velmire {

// The block at chroma column x of `job`, with the job's partners (not null) and limits. The
// detail is judged on the luma row the temporal partners are compared with. Only marked columns
// change. The portable definition.
template <typename Sample>
void BlendBlockWithPartnersPlanar(const RowJobPlanarOf<Sample>& job, int x, const uint8_t* mask);

}  // namespace velmire
