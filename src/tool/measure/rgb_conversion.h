// Studio-range BT.601 Y'CbCr to RGB, for pictures that people look at.
#pragma once

#include "tool/y4m/stream_frame_view.h"
#include "tool/measure/rgb_image.h"

namespace velmire::cli {

// The part `rect` of a frame as RGB; each chroma sample covers the picture samples it was
// made from (nearest neighbour).
RgbImage ToRgb(const StreamFrameView& frame, const PixelRect& rect);

}  // namespace velmire::cli
