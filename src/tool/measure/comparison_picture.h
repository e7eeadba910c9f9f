// The comparison picture: the same crop of the input, the output and the mask-painted debug
// frame, enlarged and side by side, so the correction can be seen at a glance.
#pragma once

#include "tool/y4m/stream_frame_view.h"
#include "tool/measure/rgb_image.h"

namespace velmire::cli {

struct ComparisonLayout {
  int crop_width = 160;   // picture samples taken from each frame
  int crop_height = 120;
  int zoom = 3;           // nearest-neighbour enlargement
  int separator = 4;      // pixels between the panels
};

// The three frames share one geometry. The crop is placed where the output's chroma differs
// most from the input's; each panel is captioned.
RgbImage ComposeComparison(const StreamFrameView& input, const StreamFrameView& output,
                           const StreamFrameView& debug, const ComparisonLayout& layout = {});

}  // namespace velmire::cli
