// The demo clip carries real cross-colour: large chroma error on detailed areas, little on
// flat ones, alternating in sign from line to line and frame to frame.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "tool/measure/chroma_metrics.h"
#include "tool/demo/composite_model.h"
#include "tool/demo/demo_clip.h"
#include "tool/y4m/stream_frame_view.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::cli {
namespace {

const DemoSpec kSmall{240, 120, 2};

TEST(CompositeModel, CrossColourFlipsSignWithLineAndFrameParity) {
  // Stripes of period 4 pixels, near the subcarrier, on a grey without colour.
  const int width = 96;
  std::vector<float> y(width), zero(width, 0.0f);
  for (int x = 0; x < width; ++x) y[std::size_t(x)] = 126.0f + 70.0f * std::sin(x * 1.5708f);
  const CompositeModel model(width);
  const DecodedLine base = model.EncodeDecode(y.data(), zero.data(), zero.data(), 0, 0);
  const DecodedLine next_line = model.EncodeDecode(y.data(), zero.data(), zero.data(), 1, 0);
  const DecodedLine next_frame = model.EncodeDecode(y.data(), zero.data(), zero.data(), 0, 1);
  const DecodedLine both = model.EncodeDecode(y.data(), zero.data(), zero.data(), 1, 1);
  float peak = 0.0f;
  for (std::size_t x = 0; x < std::size_t(width); ++x) {
    peak = std::max(peak, std::fabs(base.u[x]) + std::fabs(base.v[x]));
    EXPECT_NEAR(next_line.u[x], -base.u[x], 1e-3f);
    EXPECT_NEAR(next_frame.v[x], -base.v[x], 1e-3f);
    EXPECT_NEAR(both.u[x], base.u[x], 1e-3f);
    EXPECT_NEAR(base.clean_u[x], 0.0f, 1e-3f);  // no colour in, none without the leak
  }
  EXPECT_GT(peak, 20.0f);
}

TEST(CompositeModel, FlatColourSurvivesTheRoundTrip) {
  const int width = 64;
  std::vector<float> y(width, 100.0f), u(width, -30.0f), v(width, 45.0f);
  const DecodedLine out = CompositeModel(width).EncodeDecode(y.data(), u.data(), v.data(), 3, 0);
  for (std::size_t x = 16; x < 48; ++x) {  // away from the line ends
    EXPECT_NEAR(out.u[x], -30.0f, 1.5f);
    EXPECT_NEAR(out.v[x], 45.0f, 1.5f);
    EXPECT_NEAR(out.y[x], 100.0f, 1.5f);
  }
}

TEST(DemoClip, IsDeterministicAndKeepsLumaOfTheCleanScene) {
  const DemoFrames a = RenderDemoFrames(kSmall, 1);
  const DemoFrames b = RenderDemoFrames(kSmall, 1);
  EXPECT_EQ(a.yuv422.decoded, b.yuv422.decoded);
  EXPECT_EQ(a.yuv420.decoded, b.yuv420.decoded);
  for (const DemoFrame* f : {&a.yuv422, &a.yuv420}) {
    const std::size_t luma = std::size_t(kSmall.width * kSmall.height);
    EXPECT_TRUE(std::equal(f->decoded.begin(), f->decoded.begin() + long(luma), f->clean.begin()));
  }
  for (ChromaLayout layout : {ChromaLayout::k422, ChromaLayout::k420}) {
    const Y4mHeader header = ParseY4mHeader(DemoHeaderLine(kSmall, layout));
    EXPECT_EQ(header.geometry.layout, layout);
    EXPECT_EQ(header.geometry.frame_bytes(),
              (layout == ChromaLayout::k422 ? a.yuv422 : a.yuv420).decoded.size());
  }
}

TEST(DemoClip, CarriesCrossColourOnDetailOnly) {
  const DemoFrames frames = RenderDemoFrames(kSmall, 0);
  for (ChromaLayout layout : {ChromaLayout::k422, ChromaLayout::k420}) {
    const DemoFrame& f = layout == ChromaLayout::k422 ? frames.yuv422 : frames.yuv420;
    const FrameGeometry g = MakeFrameGeometry(layout, kSmall.width, kSmall.height);
    const StreamFrameView decoded = ViewStreamFrame(g, f.decoded.data());
    const StreamFrameView clean = ViewStreamFrame(g, f.clean.data());
    ChromaErrorTally tally;
    tally.Add(decoded, clean, f.detail_mask.data());
    const ChromaError error = tally.Mean();
    EXPECT_GT(error.detailed, 8.0) << (layout == ChromaLayout::k422 ? "4:2:2" : "4:2:0");
    EXPECT_LT(error.flat, 1.0) << (layout == ChromaLayout::k422 ? "4:2:2" : "4:2:0");

    // The false colour alternates from one chroma row to the next: on detailed samples the
    // error of a row and of the row below mostly have opposite signs.
    double product = 0.0;
    for (int j = 0; j + 1 < g.chroma_height; ++j) {
      for (int i = 0; i < g.chroma_width; ++i) {
        const std::size_t at = std::size_t(j * g.chroma_width + i);
        if (!f.detail_mask[at] || !f.detail_mask[at + std::size_t(g.chroma_width)]) continue;
        product += double(decoded.U(i, j) - clean.U(i, j)) * (decoded.U(i, j + 1) - clean.U(i, j + 1));
      }
    }
    EXPECT_LT(product, 0.0);
  }
}

TEST(ChromaMetrics, SplitsErrorAndChangesByTheMask) {
  // 4x2 4:2:2 frames: chroma planes of 2x2 samples.
  const FrameGeometry g = MakeFrameGeometry(ChromaLayout::k422, 4, 2);
  std::vector<std::uint8_t> a(g.frame_bytes(), 128), b(g.frame_bytes(), 128);
  const std::size_t u = g.luma_bytes(), v = u + g.chroma_bytes();
  b[u + 0] = 138;  // detailed sample, U off by 10
  b[v + 0] = 124;  // same sample, V off by 4
  b[u + 3] = 130;  // flat sample, U off by 2
  const std::vector<std::uint8_t> mask = {1, 1, 0, 0};
  ChromaErrorTally error;
  error.Add(ViewStreamFrame(g, b.data()), ViewStreamFrame(g, a.data()), mask.data());
  EXPECT_DOUBLE_EQ(error.Mean().detailed, 14.0 / 4);
  EXPECT_DOUBLE_EQ(error.Mean().flat, 2.0 / 4);
  EXPECT_DOUBLE_EQ(error.Mean().all, 16.0 / 8);
  ChangedShareTally changed;
  changed.Add(ViewStreamFrame(g, a.data()), ViewStreamFrame(g, b.data()), mask.data());
  changed.Add(ViewStreamFrame(g, a.data()), ViewStreamFrame(g, a.data()), mask.data());
  EXPECT_DOUBLE_EQ(changed.Share().detailed, 2.0 / 8);
  EXPECT_DOUBLE_EQ(changed.Share().flat, 1.0 / 8);
  EXPECT_DOUBLE_EQ(changed.Share().all, 3.0 / 16);
}

}  // namespace
}  // namespace velmire::cli
