// The YUY2 frame pass, free of any host: frames n-1, n and n+1 in (and in the stronger mode
// n-2 and n+2, when given: their packed planes in `y`), the output frame (a copy of frame n)
// corrected in place, or the mask painted on it in Debug mode.
#pragma once

#include <cstdint>

#include "base/frame_view.h"
#include "base/settings.h"
#include "detect/edge_mask.h"
#include "stronger/still_kernels.h"
#include "yuy2/correct_block_yuy2.h"

namespace velmire {

struct PassKernelsYUY2 {
  EdgeMaskYUY2Fn edgeMask;
  CorrectRowYUY2Fn correctRow;
  StillKernelsOf<uint8_t> still;  // the stronger mode's still blend
};

// The frames are packed YUY2 planes of current's row size and height, each read through its own
// pitch. `output` holds a copy of `current`; only the chroma bytes of marked blocks (or painted
// macropixels) of rows 2 .. H-3 are written. `mask` holds current.rowSize zero bytes.
void ReduceCrossColorYUY2(const Settings& settings, const PassKernelsYUY2& kernels,
                          const PlaneView& previous, const PlaneView& current,
                          const PlaneView& next, const WritablePlaneView& output, uint8_t* mask,
                          const OuterFrames* outer = nullptr);

}  // namespace velmire
