// The host's frames as the core sees them: plane pointers, pitches, row sizes and heights.
#pragma once

#include "base/frame_view.h"
#include "host/interface/plugin_interface.h"

namespace velmire {

// A frame for reading: YUY2 as its one packed plane, planar frames as Y, U and V.
FrameView ViewOf(const VideoFrame& frame, const SampleFormat& format);

// The planes a pass writes: the packed plane of a YUY2 frame, or U and V of a planar one
// (planar luma is never written, so its view stays empty).
WritableFrameView WritableViewOf(VideoFrame& frame, const SampleFormat& format);

}  // namespace velmire
