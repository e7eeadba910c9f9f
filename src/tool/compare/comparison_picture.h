// The comparison picture: the same crop of the input, the output and the mask-painted debug
// frame, enlarged and side by side, so the correction can be seen at a glance.
#pragma once

#include <cstdint>

#include "tool/y4m/stream_frame_view.h"
#include "tool/compare/rgb_image.h"

namespace velmire::cli {

struct ComparisonLayout {
  int crop_width = 160;   // picture samples taken from each frame
  int crop_height = 120;
  int zoom = 3;           // nearest-neighbour enlargement
  int separator = 4;      // pixels between the panels
};

// The three frames share one geometry. The crop is placed where the output's chroma differs
// most from the input's; each panel is captioned. A line above the panels gives the frame
// number, where the crop lies in the frame and the zoom; a legend below shows the colour that
// marks the positions in the mask. When the output's chroma does not differ from the input's
// at all, the picture says that nothing was corrected and shows the centre of the frame.
RgbImage ComposeComparison(const StreamFrameView& input, const StreamFrameView& output,
                           const StreamFrameView& debug, std::int64_t frame_number,
                           const ComparisonLayout& layout = {});

}  // namespace velmire::cli
