// The planar frame passes, free of any host: frames n-1, n and n+1 in (and in the stronger
// mode n-2 and n+2, when given), the output frame's chroma (a copy of frame n's) corrected in
// place, or the mask painted on it in Debug mode.
// 4:2:0 and 4:2:2, with 8-bit samples or 9- to 16-bit samples in 16-bit containers.
#pragma once

#include <cstdint>

#include "base/frame_view.h"
#include "base/settings.h"
#include "detect/edge_mask.h"
#include "planar/correct_block_planar.h"
#include "stronger/still_kernels.h"

namespace velmire {

template <typename Sample>
struct PassKernelsPlanarOf {
  EdgeMaskPlanarFnOf<Sample> edgeMask;
  CorrectRowPlanarFnOf<Sample> correctRow;
  StillKernelsOf<Sample> still;  // the stronger mode's still blend
};
using PassKernelsPlanar = PassKernelsPlanarOf<uint8_t>;
using PassKernelsPlanar16 = PassKernelsPlanarOf<uint16_t>;

// The chroma row width W and height H come from current.u (in samples: rowSize / sizeof
// Sample); the luma rows hold 2W samples. Every plane is read through its own pointer and
// pitch; the frames must share current's geometry. Only output.u and output.v are written, in
// rows 1 .. H-2 (4:2:0) or 2 .. H-3 (4:2:2); luma is never changed. The settings are in 8-bit
// units and scaled to the format's bits here. `mask` holds W zero bytes.
template <typename Sample>
void ReduceCrossColorPlanar(const SampleFormat& format, const Settings& settings,
                            const PassKernelsPlanarOf<Sample>& kernels, const FrameView& previous,
                            const FrameView& current, const FrameView& next,
                            const WritableFrameView& output, uint8_t* mask,
                            const OuterFrames* outer = nullptr);

// 8-bit 4:2:0, as the 2.5-interface front-end uses it.
inline void ReduceCrossColorPlanar(const Settings& settings, const PassKernelsPlanar& kernels,
                                   const FrameView& previous, const FrameView& current,
                                   const FrameView& next, const WritableFrameView& output,
                                   uint8_t* mask) {
  ReduceCrossColorPlanar(SampleFormat{Layout::kPlanar420, 8}, settings, kernels, previous,
                         current, next, output, mask);
}

}  // namespace velmire
