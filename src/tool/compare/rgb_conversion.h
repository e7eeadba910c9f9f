// Studio-range BT.601 Y'CbCr to RGB, for pictures that people look at.
#pragma once

#include "tool/y4m/stream_frame_view.h"
#include "tool/compare/rgb_image.h"

namespace velmire::cli {

// The part `rect` of a frame as RGB; each chroma sample covers the picture samples it was
// made from (nearest neighbour). Samples above 8 bits are shown by their top 8 bits.
RgbImage ToRgb(const StreamFrameView& frame, const PixelRect& rect);

}  // namespace velmire::cli
