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

// The block at byte x of `job`; only the chroma of marked macropixels changes.
using PartnerBlendYUY2Fn = void (*)(const Yuy2RowJob& job, const PartnerEntriesYUY2& partners,
                                    const PartnerLimits& limits, int x, const uint8_t* mask);

// The portable definition.
void BlendBlockWithPartnersYUY2(const Yuy2RowJob& job, const PartnerEntriesYUY2& partners,
                                const PartnerLimits& limits, int x, const uint8_t* mask);

}  // namespace velmire
