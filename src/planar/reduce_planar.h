// The planar (4:2:0) frame pass, free of any host: frames n-1, n and n+1 in, the output frame's
// chroma (a copy of frame n's) corrected in place, or the mask painted on it in Debug mode.
#pragma once

#include <cstdint>

#include "base/frame_view.h"
#include "base/settings.h"
#include "detect/edge_mask.h"
#include "planar/correct_block_planar.h"

namespace velmire {

struct PlanarKernels {
  EdgeMaskPlanarFn edgeMask;
  CorrectBlockPlanarFn correctBlock;
};

// The chroma row width W and height H come from current.u. Every plane is read through its own
// pointer and pitch; the frames must share current's geometry. Only output.u and output.v are
// written, and only in rows 1 .. H-2; luma is never changed. `mask` holds W zero bytes.
void ReduceCrossColorPlanar(const Settings& settings, const PlanarKernels& kernels,
                            const FrameView& previous, const FrameView& current,
                            const FrameView& next, const WritableFrameView& output,
                            uint8_t* mask);

}  // namespace velmire
