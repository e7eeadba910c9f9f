// The demo clips and the filter's output on them, pinned by SHA-256: frames 0 to 2 of a small
// demo in both standards and layouts, and the output of frame 1 in both modes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/sha256.h"
#include "lab/clips/demo_clip.h"
#include "tool/routes/stream_frame_filter.h"

namespace velmire::lab {
namespace {

TEST(DemoDigests, TheDemoClipsAndTheirOutputsKeepTheirBytes) {
  struct Case {
    VideoStandard standard;
    const char* digest;
  };
  const Case cases[] = {
      {VideoStandard::kNtsc, "cb22fc17faddf151b1728d3b752ba38376a06f5a63ba07f2b31187bd490c5c46"},
      {VideoStandard::kPal, "9544b070444bdd42d23d0e17e8fbf489de2ae98d48dc0323fe8739c6684a1520"},
  };
  for (const Case& c : cases) {
    const DemoSpec demo{128, 64, 3, c.standard};
    testing::Sha256 sha;
    for (ChromaLayout layout : {ChromaLayout::k422, ChromaLayout::k420}) {
      const FrameGeometry g = MakeFrameGeometry(layout, demo.width, demo.height);
      std::vector<DemoFrame> frames;
      for (int n = 0; n < 3; ++n) {
        const DemoFrames both = RenderDemoFrames(demo, n);
        frames.push_back(layout == ChromaLayout::k422 ? both.yuv422 : both.yuv420);
        for (const auto* bytes : {&frames.back().decoded, &frames.back().clean,
                                  &frames.back().detail_mask}) {
          sha.Add(bytes->data(), bytes->size());
        }
      }
      for (int mode : {0, 1}) {
        const auto out = FilterStreamFrame(g, Settings::Clamped(30, 60, 1, false, mode),
                                           PortableKernels(), frames[0].decoded.data(),
                                           frames[1].decoded.data(), frames[2].decoded.data());
        sha.Add(out.data(), out.size());
      }
    }
    const std::string digest = sha.HexDigest();
    if (std::getenv("VELMIRE_PRINT_DIGESTS")) std::printf("%s\n", digest.c_str());
    EXPECT_EQ(digest, c.digest);
  }
}

}  // namespace
}  // namespace velmire::lab
