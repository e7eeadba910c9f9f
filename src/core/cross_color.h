// The filter core as front-ends use it: one call builds output frame n from input frames n-1, n
// and n+1 (and n-2 and n+2 in the stronger mode) of any supported format, with the given
// settings and kernels. No host types, no global state; calls for different frames may run at
// once.
#pragma once

#include "base/frame_view.h"
#include "base/settings.h"
#include "core/kernel_set.h"

namespace velmire {

// YUY2 at 8 bits; planar 4:2:0 and 4:2:2 at 8 to 16 bits.
bool IsSupportedFormat(const SampleFormat& format);

// Whether two frames of `format` have the same size in every plane the filter reads.
bool SameGeometry(const SampleFormat& format, const FrameView& a, const FrameView& b);

// Builds output frame n. `previous`, `current` and `next` are frames n-1, n and n+1, all of
// current's geometry. `output` must hold a copy of `current` in the planes the filter writes:
// the chroma planes (planar) or the packed plane (YUY2). Planar luma is never written, so the
// output may share current's luma plane. Throws std::bad_alloc when the working memory (one
// row's edge mask) cannot be had. `outer`, frames n-2 and n+2, is read in the stronger mode
// alone, where PAL's still blocks blend them; without them (null) that mode blends n-1 and
// n+1 in PAL, as a host that gives three frames must.
void ReduceCrossColor(const SampleFormat& format, const Settings& settings,
                      const KernelSet& kernels, const FrameView& previous,
                      const FrameView& current, const FrameView& next,
                      const WritableFrameView& output, const OuterFrames* outer = nullptr);

}  // namespace velmire
