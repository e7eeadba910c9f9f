// Debug mode: the marked macropixels of the painted range, and nothing else, show U 128 and
// V 255; no chroma is corrected anywhere.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "yuy2_pass_harness.h"

namespace velmire::test {
namespace {

// Luma 0 before sample `edge`, 50 at it, 100 after: one edge sample, at `edge`.
int SingleEdgeAt(int edge, int sample) {
  if (sample < edge) return 0;
  return sample == edge ? 50 : 100;
}

TEST_F(Yuy2PassTest, DebugPaintsExactlyTheMarkedMacropixelsOfThePaintedRange) {
  using Luma = std::function<int(int sample)>;
  const struct {
    const char* name;
    Luma luma;
    int margin;
    int firstPainted, lastPainted;  // macropixels; none when first > last
  } kCases[] = {
      {"flat luma: nothing", [](int) { return 90; }, 4, 1, 0},
      // An edge at sample 8 marks macropixels 0 to 8; those below 4 lie left of the range.
      {"edge at the first examined sample, Margin 4", [](int s) { return SingleEdgeAt(8, s); }, 4,
       4, 8},
      {"isolated edge at macropixel 8, Margin 1", [](int s) { return SingleEdgeAt(16, s); }, 1, 7,
       9},
      {"isolated edge at macropixel 8, Margin 0", [](int s) { return SingleEdgeAt(16, s); }, 0, 8,
       8},
      // Marks reach macropixel 15, the painting stops before byte 48 (macropixel 12).
      {"edges everywhere, Margin 4", [](int s) { return 20 * (s % 12); }, 4, 4, 11},
  };
  for (const auto& c : kCases) {
    // Frame n: every row holds the luma (rows 0, 1, 4 and 5 are not working rows), chroma is a
    // pattern that never equals the paint; the neighbours match exactly, which must not matter.
    Yuy2Picture picture(64, 6);
    for (int y = 0; y < 6; ++y) {
      for (int s = 0; s < 32; ++s) picture.Luma(y, s) = static_cast<uint8_t>(c.luma(s));
      for (int m = 0; m < 16; ++m) {
        picture.U(y, m) = static_cast<uint8_t>(10 + 7 * m + y);
        picture.V(y, m) = static_cast<uint8_t>(20 + 5 * m + y);
      }
    }
    std::vector<Yuy2Picture> clip(3, picture);
    for (size_t f : {0u, 2u})
      for (int m = 0; m < 16; ++m) clip[f].U(2, m) = clip[f].V(2, m) = 0;

    const PassRun run = Run(clip, 1, FilterSettings{30, 255, c.margin, true});
    Yuy2Picture expected = picture;
    for (int y : {2, 3}) {
      for (int m = c.firstPainted; m <= c.lastPainted; ++m) {
        expected.U(y, m) = 128;
        expected.V(y, m) = 255;
      }
    }
    EXPECT_EQ(FirstDifference(expected, run.output), "") << c.name;
  }
}

}  // namespace
}  // namespace velmire::test
