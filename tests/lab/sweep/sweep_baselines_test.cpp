// The sweep's baselines: a 3-frame chroma average, a vertical 1-2-1 chroma blur and the
// still-gated 1/4-1/2-1/4 average, rounded, with the clip's and the frame's ends standing in
// for missing neighbours; luma untouched.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "lab/sweep/sweep_baselines.h"

namespace velmire::lab {
namespace {

TEST(SweepBaselines, AverageChromaOverTimeOrDownTheRowsAndLeaveLumaAlone) {
  // 4:2:2 frames of 2x3 pixels: U and V planes of one column and three rows.
  const FrameGeometry g = MakeFrameGeometry(ChromaLayout::k422, 2, 3);
  const std::uint8_t u_rows[3][3] = {{0, 30, 60}, {30, 30, 30}, {90, 30, 0}};
  std::vector<std::vector<std::uint8_t>> frames;
  for (int f = 0; f < 3; ++f) {
    std::vector<std::uint8_t> frame(g.frame_bytes());
    for (std::size_t i = 0; i < g.luma_bytes(); ++i) frame[i] = std::uint8_t(200 + f);
    for (std::size_t j = 0; j < 3; ++j) {
      frame[g.luma_bytes() + j] = u_rows[f][j];
      frame[g.luma_bytes() + g.chroma_bytes() + j] = std::uint8_t(255 - u_rows[f][j]);
    }
    frames.push_back(frame);
  }
  struct Case {
    Baseline baseline;
    std::size_t frame;
    std::uint8_t u[3];
    GatedAverageParams gated = {};
  };
  const Case cases[] = {
      {Baseline::kUnfiltered, 1, {30, 30, 30}},
      {Baseline::kTemporalAverage, 1, {40, 30, 30}},  // (0+30+90)/3, (60+30+0)/3 = 30
      {Baseline::kTemporalAverage, 0, {10, 30, 50}},  // the first frame stands in for frame -1
      {Baseline::kTemporalAverage, 2, {70, 30, 10}},
      {Baseline::kVerticalBlur, 0, {8, 30, 53}},      // (0+0+30)/4 = 7.5, (30+120+60)/4 = 52.5
      // The luma of the frames differs by 1 a sample: within a gate of 1, not of 0.
      {Baseline::kGatedAverage, 1, {38, 30, 30}, {1, 1}},  // (0+60+90)/4 = 37.5, 122/4 = 30.5
      {Baseline::kGatedAverage, 1, {30, 30, 30}, {1, 0}},
      {Baseline::kGatedAverage, 0, {23, 30, 45}, {2, 4}},  // frame 2 two frames on, frame 0 itself
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> out(g.frame_bytes());
    ApplyBaseline(c.baseline, g, frames, c.frame, out.data(), c.gated);
    for (std::size_t i = 0; i < g.luma_bytes(); ++i) EXPECT_EQ(out[i], frames[c.frame][i]);
    for (std::size_t j = 0; j < 3; ++j) {
      EXPECT_EQ(out[g.luma_bytes() + j], c.u[j]) << BaselineName(c.baseline) << " frame " << c.frame;
      // V is 255 - U, so its result mirrors U's where no rounding tie falls.
      EXPECT_NEAR(out[g.luma_bytes() + g.chroma_bytes() + j], 255 - c.u[j], 1);
    }
  }
}

}  // namespace
}  // namespace velmire::lab
