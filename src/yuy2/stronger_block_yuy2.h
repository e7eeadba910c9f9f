// The stronger mode on one YUY2 block, run after the block search has written the block's
// output: on fine detail, a usable pair of partners replaces the search's blend. It gives the
// planar 4:2:2 pass's result on the same picture.
#pragma once

#include <cstdint>

#include "stronger/partner_blend.h"
#include "yuy2/correct_block_yuy2.h"

namespace velmire {

// Indices into the candidate list: the block's place in frames n-1 and n+1, and the rows two
// above and two below in frame n, all without shift.
struct PartnerEntriesYUY2 {
  int previous;
  int next;
  int above;
  int below;
};

PartnerEntriesYUY2 PartnerEntriesOfYUY2();

// The block at byte x of `job`, with the job's partners (not null) and limits; only the chroma
// of marked macropixels changes. The portable definition.
void BlendBlockWithPartnersYUY2(const RowJobYUY2& job, int x, const uint8_t* mask);

}  // namespace velmire
