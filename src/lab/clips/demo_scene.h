// The clean scene of the demo clip: fine luma detail of the kinds that composite video turns
// into false colour (stripes of several periods, a zone plate, small text) beside flat
// coloured areas. Most of it stands still, as titles and backgrounds do; some text scrolls
// and a striped tile slides to and fro, so the clip also has motion. Fully deterministic:
// frame t depends only on t.
#pragma once

#include "lab/clips/float_plane.h"

namespace velmire::lab {

YuvImage RenderDemoScene(int width, int height, int frame_index);

}  // namespace velmire::lab
