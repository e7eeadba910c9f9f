// Finds where a filter changed a frame's chroma most, so a picture of that spot shows its work.
#pragma once

#include "tool/y4m/stream_frame_view.h"
#include "tool/compare/rgb_image.h"

namespace velmire::cli {

// The window of `width` x `height` picture samples (clipped to the frame) whose chroma
// changed most between `before` and `after`, by the sum of absolute U and V differences.
// It starts on a chroma sample boundary. With no change at all, the centre of the frame.
PixelRect FindMostCorrectedArea(const StreamFrameView& before, const StreamFrameView& after, int width,
                                int height);

// Whether any chroma sample differs between two frames of one geometry.
bool ChromaDiffers(const StreamFrameView& before, const StreamFrameView& after);

}  // namespace velmire::cli
