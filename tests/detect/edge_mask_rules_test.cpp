// The edge rule, thresholds, widening and row walks of both mask layouts, through the portable
// routines.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "edge_mask_harness.h"

namespace velmire::test {
namespace {

constexpr int kRowPositions = 24;  // examined positions 4 .. 19 in both layouts

// A row whose luma equals `left` up to sample centre-1 and `right` from centre+1 on, with
// `centre` in between: only the sample at `centre` can be an edge sample.
std::vector<uint8_t> StepRow(int positions, int centreSample, uint8_t left, uint8_t centre,
                             uint8_t right) {
  std::vector<uint8_t> luma(2 * positions);
  for (int s = 0; s < 2 * positions; ++s) {
    luma[s] = s < centreSample ? left : (s == centreSample ? centre : right);
  }
  return luma;
}

std::vector<uint8_t> RandomLuma(int positions, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> luma(2 * positions);
  for (auto& sample : luma) sample = static_cast<uint8_t>(random());
  return luma;
}

TEST(EdgeMaskRules, EdgeSampleExamples) {
  struct Case {
    uint8_t left, centre, right;
    int thresholdY;
    bool edge;
  };
  const Case cases[] = {
      {10, 20, 41, 30, true},    // difference 31, rising
      {10, 20, 40, 30, false},   // difference equal to the threshold
      {60, 30, 0, 30, true},     // falling
      {0, 30, 60, 59, true},
      {0, 30, 60, 60, false},
      {10, 41, 41, 30, false},   // plateau on the right
      {41, 41, 10, 0, false},    // plateau on the left
      {10, 50, 45, 30, false},   // peak
      {200, 5, 250, 0, false},   // dip
      {0, 128, 255, 254, true},  // widest possible ramp
      {0, 128, 255, 255, false},
      {0, 1, 2, 1, true},        // smallest possible ramp
  };
  for (Layout layout : kLayouts) {
    for (const Case& c : cases) {
      // Both samples of position 10: the even one (20) and the odd one (21).
      for (int centreSample : {20, 21}) {
        SCOPED_TRACE(testing::Message() << LayoutName(layout) << " L=" << int{c.left}
                                        << " C=" << int{c.centre} << " R=" << int{c.right}
                                        << " threshold " << c.thresholdY << " sample "
                                        << centreSample);
        const auto luma = StepRow(kRowPositions, centreSample, c.left, c.centre, c.right);
        const std::vector<int> expected = c.edge ? std::vector<int>{10} : std::vector<int>{};
        EXPECT_EQ(MarkedPositions(layout, luma, c.thresholdY, 0), expected);
      }
    }
  }
}

TEST(EdgeMaskRules, ThresholdsZeroAndOneAgreeAndTopThresholdFlagsNothing) {
  for (Layout layout : kLayouts) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
      SCOPED_TRACE(testing::Message() << LayoutName(layout) << " seed " << seed);
      const auto row = RowFromLuma(layout, RandomLuma(kRowPositions + seed, seed));
      const auto atZero = PositionMask(layout, row, 0, 1);
      EXPECT_EQ(PositionMask(layout, row, 1, 1), atZero);
      EXPECT_NE(atZero, std::vector<uint8_t>(atZero.size(), 0x00)) << "row without edges";
      EXPECT_EQ(PositionMask(layout, row, 255, 4), std::vector<uint8_t>(atZero.size(), 0x00));
    }
  }
}

TEST(EdgeMaskRules, WideningMarksMarginPositionsOnEachSideClippedToTheRowStart) {
  struct Case {
    int centreSample;
    int margin;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {24, 0, {12}},           {25, 0, {12}},
      {24, 1, Range(11, 13)},  {24, 2, Range(10, 14)},
      {25, 3, Range(9, 15)},   {24, 4, Range(8, 16)},
      {8, 4, Range(0, 8)},     {9, 4, Range(0, 8)},  // first examined position
      {8, 2, Range(2, 6)},     {6, 4, {}},           // position 3 is never examined
  };
  for (Layout layout : kLayouts) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << LayoutName(layout) << " sample " << c.centreSample
                                      << " margin " << c.margin);
      const auto luma = StepRow(kRowPositions, c.centreSample, 0, 100, 200);
      EXPECT_EQ(MarkedPositions(layout, luma, 30, c.margin), c.expected);
    }
  }
}

// Which positions each walk visits: a lone ramp through one sample of position p is seen only
// when p is examined.
TEST(EdgeMaskRules, PositionsExamined) {
  struct Case {
    Layout layout;
    int positions;  // W
    int first, last;  // examined range; first > last when nothing is examined
  };
  const Case cases[] = {
      {Layout::kYUY2, 360, 4, 355},  {Layout::kPlanar, 360, 4, 355},
      {Layout::kYUY2, 361, 4, 357},  {Layout::kPlanar, 361, 4, 359},
      {Layout::kYUY2, 362, 4, 357},  {Layout::kPlanar, 362, 4, 359},
      {Layout::kYUY2, 8, 1, 0},      {Layout::kYUY2, 9, 4, 5},    // rows of 32 and 36 bytes
      {Layout::kPlanar, 8, 1, 0},    {Layout::kPlanar, 9, 4, 7},
      {Layout::kPlanar, 10, 4, 7},   {Layout::kPlanar, 11, 4, 7},
      {Layout::kPlanar, 12, 4, 7},   {Layout::kPlanar, 13, 4, 11},
      {Layout::kPlanar, 4, 1, 0},    {Layout::kYUY2, 10, 4, 5},
  };
  for (const Case& c : cases) {
    for (int p = 0; p < c.positions; ++p) {
      for (int centreSample : {2 * p, 2 * p + 1}) {
        std::vector<uint8_t> luma(2 * c.positions, 0);
        const uint8_t ramp[] = {0, 100, 200};
        for (int k = 0; k < 3; ++k) {
          const int s = centreSample - 1 + k;
          if (s >= 0 && s < 2 * c.positions) luma[s] = ramp[k];
        }
        const bool examined = p >= c.first && p <= c.last;
        const std::vector<int> expected = examined ? std::vector<int>{p} : std::vector<int>{};
        ASSERT_EQ(MarkedPositions(c.layout, luma, 30, 0), expected)
            << LayoutName(c.layout) << " W=" << c.positions << " sample " << centreSample;
      }
    }
  }
}

TEST(EdgeMaskRules, YUY2ChromaBytesNeverChangeTheMask) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    const auto luma = RandomLuma(40, seed);
    std::mt19937 random(seed + 1000);
    const auto plain = RowFromLuma(Layout::kYUY2, luma, [](size_t) { return uint8_t{128}; });
    const auto noisy =
        RowFromLuma(Layout::kYUY2, luma, [&](size_t) { return static_cast<uint8_t>(random()); });
    for (int threshold : {0, 30, 120}) {
      EXPECT_EQ(PositionMask(Layout::kYUY2, noisy, threshold, 1),
                PositionMask(Layout::kYUY2, plain, threshold, 1))
          << "seed " << seed << " threshold " << threshold;
    }
  }
}

TEST(EdgeMaskRules, EntriesAlreadySetStaySet) {
  for (Layout layout : kLayouts) {
    const auto row = RowFromLuma(layout, RandomLuma(kRowPositions, 7));
    for (int margin = 0; margin <= 4; ++margin) {
      const auto marks = PositionMask(layout, row, 30, margin, 0xFF);
      EXPECT_EQ(marks, std::vector<uint8_t>(marks.size(), 0xFF))
          << LayoutName(layout) << " margin " << margin;
    }
  }
}

}  // namespace
}  // namespace velmire::test
