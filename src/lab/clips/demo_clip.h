// The demo clip: the clean scene passed through the composite model, in a 4:2:2 and a 4:2:0
// variant, together with what is needed to judge a filter's work on it (the clean chroma and
// where the fine luma detail is).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lab/clips/float_plane.h"
#include "lab/clips/video_standard.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {

struct DemoSpec {
  int width = 720;    // even
  int height = 480;   // even
  int frames = 60;    // two seconds at 29.97 frames per second
  VideoStandard standard = VideoStandard::kNtsc;
};

struct DemoFrame {
  std::vector<std::uint8_t> decoded;      // stream-order frame as the composite decoder left it
  std::vector<std::uint8_t> clean;        // the same luma with the chroma free of cross-colour
  std::vector<std::uint8_t> detail_mask;  // per chroma sample: 1 where fine luma detail is
};

struct DemoFrames {
  DemoFrame yuv422;
  DemoFrame yuv420;
};

// Builds frame `index` of both variants; the same index always gives the same bytes.
DemoFrames RenderDemoFrames(const DemoSpec& demo, int index);

// Passes a clean picture, as frame `index` of a clip, through the composite model of
// `standard` (with noise of standard deviation `noise_sigma` on the composite signal) and gives
// both variants; the detail mask comes from the picture's luma.
DemoFrames EncodeDemoFrames(const YuvImage& scene, VideoStandard standard, int index,
                            float noise_sigma = 0.0f);

// The stream header line of a variant: the frame rate, field order and pixel aspect of the
// demo's standard, limited range.
std::string DemoHeaderLine(const DemoSpec& demo, ChromaLayout layout);

}  // namespace velmire::lab
