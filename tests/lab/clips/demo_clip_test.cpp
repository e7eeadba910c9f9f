// The demo clip carries real cross-colour: large chroma error on detailed areas, little on
// flat ones, changing sign with the subcarrier phase.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "lab/sweep/chroma_metrics.h"
#include "lab/clips/composite_model.h"
#include "lab/clips/demo_clip.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {
namespace {

const DemoSpec kSmall{240, 120, 2};

// The cross-colour (U, then V) that a still line of stripes near the subcarrier gets as line
// `line` of frame `frame`.
std::vector<float> CrossColour(const CompositeModel& model, int width, int line, int frame) {
  const std::size_t n = static_cast<std::size_t>(width);
  std::vector<float> y(n), zero(n, 0.0f);
  for (std::size_t x = 0; x < n; ++x) y[x] = 126.0f + 70.0f * std::sin(float(x) * 1.7f);
  const DecodedLine d = model.EncodeDecode(y.data(), zero.data(), zero.data(), line, frame);
  std::vector<float> cross;
  for (std::size_t x = 16; x + 16 < n; ++x) cross.push_back(d.u[x] - d.clean_u[x]);
  for (std::size_t x = 16; x + 16 < n; ++x) cross.push_back(d.v[x] - d.clean_v[x]);
  return cross;
}

enum class Partner { kSame, kOpposite, kNeither };

// Which partners cancel a line's cross-colour (opposite), which repeat it (same): the
// scanning order of each standard, interlaced fields included.
TEST(CompositeModel, PartnersOfOppositePhaseFollowTheScanningOrder) {
  struct Case {
    VideoStandard standard;
    int line, frame, partner_line, partner_frame;
    Partner expected;
  };
  const VideoStandard ntsc = VideoStandard::kNtsc, pal = VideoStandard::kPal;
  const Case cases[] = {
      {ntsc, 0, 0, 0, 1, Partner::kOpposite},  // next frame, same place
      {ntsc, 5, 0, 5, 2, Partner::kSame},      // the phase comes round after two frames
      {ntsc, 0, 0, 2, 0, Partner::kOpposite},  // next line of the same field
      {ntsc, 0, 0, 4, 0, Partner::kSame},
      {ntsc, 0, 0, 1, 0, Partner::kSame},      // top line, bottom line below: 262 lines on
      {ntsc, 1, 0, 2, 0, Partner::kOpposite},  // bottom line, top line below: 263 lines
      {ntsc, 1, 0, 0, 1, Partner::kOpposite},  // the filter's (n-1, y-1) from an odd line
      {ntsc, 2, 1, 1, 0, Partner::kSame},      // ... and from an even line
      {pal, 0, 0, 0, 4, Partner::kSame},       // the phase comes round after four frames
      {pal, 3, 0, 3, 1, Partner::kNeither},
      {pal, 3, 0, 3, 2, Partner::kOpposite},
      {pal, 3, 0, 3, 3, Partner::kNeither},
      {pal, 0, 0, 4, 0, Partner::kOpposite},   // two lines on in the same field
      {pal, 0, 0, 2, 0, Partner::kNeither},    // next line of the same field, V switched
      {pal, 1, 0, 2, 0, Partner::kOpposite},   // bottom line, top line below: 312 lines
      {pal, 0, 0, 1, 0, Partner::kNeither},    // top line, bottom line below: 313 lines
  };
  const int width = 128;
  for (const Case& c : cases) {
    const CompositeModel model(width, c.standard);
    const std::vector<float> a = CrossColour(model, width, c.line, c.frame);
    const std::vector<float> b = CrossColour(model, width, c.partner_line, c.partner_frame);
    float peak = 0.0f, same = 0.0f, opposite = 0.0f;
    for (std::size_t i = 0; i < a.size(); ++i) {
      peak = std::max(peak, std::fabs(a[i]));
      same = std::max(same, std::fabs(a[i] - b[i]));
      opposite = std::max(opposite, std::fabs(a[i] + b[i]));
    }
    const Partner found = same < 0.05f * peak       ? Partner::kSame
                          : opposite < 0.05f * peak ? Partner::kOpposite
                                                    : Partner::kNeither;
    EXPECT_GT(peak, 10.0f);
    EXPECT_EQ(found, c.expected) << StandardName(c.standard) << " line " << c.line << " frame "
                                 << c.frame << " against line " << c.partner_line << " frame "
                                 << c.partner_frame;
  }
}

TEST(CompositeModel, FlatColourSurvivesTheRoundTrip) {
  const int width = 128;
  std::vector<float> y(width, 100.0f), u(width, -30.0f), v(width, 45.0f);
  for (const VideoStandard standard : kVideoStandards) {
    const DecodedLine out =
        CompositeModel(width, standard).EncodeDecode(y.data(), u.data(), v.data(), 3, 1);
    for (std::size_t x = 32; x < 96; ++x) {  // away from the line ends
      EXPECT_NEAR(out.u[x], -30.0f, 1.5f) << StandardName(standard);
      EXPECT_NEAR(out.v[x], 45.0f, 1.5f) << StandardName(standard);
      EXPECT_NEAR(out.y[x], 100.0f, 1.5f) << StandardName(standard);
    }
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
  const DemoFrames frames = RenderDemoFrames(kSmall, 0), next = RenderDemoFrames(kSmall, 1);
  for (ChromaLayout layout : {ChromaLayout::k422, ChromaLayout::k420}) {
    const bool is422 = layout == ChromaLayout::k422;
    const DemoFrame& f = is422 ? frames.yuv422 : frames.yuv420;
    const DemoFrame& f1 = is422 ? next.yuv422 : next.yuv420;
    const FrameGeometry g = MakeFrameGeometry(layout, kSmall.width, kSmall.height);
    const StreamFrameView decoded = ViewStreamFrame(g, f.decoded.data()), clean = ViewStreamFrame(g, f.clean.data());
    const StreamFrameView decoded1 = ViewStreamFrame(g, f1.decoded.data()), clean1 = ViewStreamFrame(g, f1.clean.data());
    ChromaErrorTally tally;
    tally.Add(decoded, clean, f.detail_mask.data());
    const ChromaError error = tally.Mean();
    EXPECT_GT(error.detailed, 2.0) << (is422 ? "4:2:2" : "4:2:0");
    EXPECT_LT(error.flat, 1.0) << (is422 ? "4:2:2" : "4:2:0");

    // NTSC's false colour flips from one frame to the next at the same place: on detailed
    // samples the errors of the two frames mostly have opposite signs.
    double product = 0.0;
    for (int j = 0; j < g.chroma_height; ++j) {
      for (int i = 0; i < g.chroma_width; ++i) {
        if (!f.detail_mask[std::size_t(j * g.chroma_width + i)]) continue;
        product += double(decoded.U(i, j) - clean.U(i, j)) * (decoded1.U(i, j) - clean1.U(i, j));
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
}  // namespace velmire::lab
