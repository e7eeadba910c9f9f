// The frame pass: which rows, blocks and columns it may change in either mode, the frames it
// asks for, and its refusal of neighbours of another size.
#include <gtest/gtest.h>

#include <string>

#include "host/host_error.h"
#include "yuy2_pass_harness.h"

namespace velmire::test {
namespace {

// Steep sawtooth luma, period 12 samples: every examined macropixel is an edge, and a block
// matches itself only at shift 0 (the searched shifts of 2 to 6 pixels all miss).
int Saw12(int sample) { return 20 * (sample % 12); }

// Three frames of the same sawtooth in every row: frame 1 has chroma 200, its neighbours 0, so
// every corrected chroma byte of frame 1 becomes 100.
std::vector<Yuy2Picture> AllMarkedClip(int rowSize, int height) {
  std::vector<Yuy2Picture> clip;
  for (int f = 0; f < 3; ++f) {
    Yuy2Picture picture(rowSize, height, f == 1 ? 200 : 0);
    for (int y = 0; y < height; ++y)
      for (int s = 0; s < picture.Samples(); ++s)
        picture.Luma(y, s) = static_cast<uint8_t>(Saw12(s));
    clip.push_back(picture);
  }
  return clip;
}

struct GeometryCase {
  int rowSize, height;
  int blocksEnd;  // byte after the last block: 16 + 16 * number of blocks
};

TEST_F(Yuy2PassTest, ChangesOnlyChromaOfWorkingRowsInsideBlocksOrPaintedRange) {
  const GeometryCase kCases[] = {
      {32, 8, 16},      // 16 pixels: no block, an unchanged copy
      {48, 8, 32},      // 24 pixels: exactly one block, at 16
      {1440, 5, 1424},  // 720 pixels: 88 blocks; 5 rows: row 2 alone
      {64, 4, 48},      // 4 rows: no working row, an unchanged copy
      {52, 6, 48},     {64, 6, 48}, {68, 6, 64}, {72, 7, 64}, {76, 6, 64}, {80, 6, 64},
  };
  for (const GeometryCase& c : kCases) {
    for (const bool debug : {false, true}) {
      const std::vector<Yuy2Picture> clip = AllMarkedClip(c.rowSize, c.height);
      // Margin 4 marks every macropixel a block or the painting can reach.
      const PassRun run = Run(clip, 1, FilterSettings{30, 60, 4, debug});

      Yuy2Picture expected = clip[1];
      const int end = debug ? c.rowSize - 16 : c.blocksEnd;
      for (int y = 2; y <= c.height - 3; ++y) {
        for (int x = 16; x < end; x += 4) {
          expected.At(y, x + 1) = debug ? 128 : 100;
          expected.At(y, x + 3) = debug ? 255 : 100;
        }
      }
      EXPECT_EQ(FirstDifference(expected, run.output), "")
          << c.rowSize << "x" << c.height << (debug ? ", Debug" : "");
    }
  }
}

TEST_F(Yuy2PassTest, AsksForFramesNThenNMinusOneThenNPlusOneUnclamped) {
  const struct {
    int n;
    int height;
    std::vector<int> requests;
  } kCases[] = {
      {0, 6, {0, -1, 1}},  // the first frame asks for frame -1
      {2, 6, {2, 1, 3}},
      {3, 6, {3, 2, 4}},  // the last frame asks for the frame count
      {1, 4, {1, 0, 2}},  // also without a working row
  };
  for (const auto& c : kCases) {
    for (const bool debug : {false, true}) {
      const std::vector<Yuy2Picture> clip(4, Yuy2Picture(48, c.height, 7));
      EXPECT_EQ(Run(clip, c.n, FilterSettings{30, 60, 1, debug}).requests, c.requests)
          << "frame " << c.n << ", height " << c.height << (debug ? ", Debug" : "");
    }
  }
}

TEST_F(Yuy2PassTest, RefusesNeighboursOfAnotherSize) {
  const struct {
    const char* name;
    Yuy2Picture previous, next;
  } kCases[] = {
      {"next wider", Yuy2Picture(48, 6), Yuy2Picture(52, 6)},
      {"previous taller", Yuy2Picture(48, 7), Yuy2Picture(48, 6)},
      {"next shorter", Yuy2Picture(48, 6), Yuy2Picture(48, 5)},
  };
  for (const auto& c : kCases) {
    const std::vector<Yuy2Picture> clip = {c.previous, Yuy2Picture(48, 6), c.next};
    try {
      Run(clip, 1, FilterSettings{});
      ADD_FAILURE() << c.name << ": no error";
    } catch (const host::HostError& error) {
      EXPECT_EQ(std::string(error.what()), "Velmire : frames differ in size") << c.name;
    }
    EXPECT_EQ(env.frames().LiveFrames(), 0u) << c.name << ": a frame handle was left behind";
  }
}

}  // namespace
}  // namespace velmire::test
