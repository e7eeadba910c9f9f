// The block search and blend seen through the frame pass: which displaced block wins, how
// chroma is averaged, where the search reads, and the right edge of a row.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "yuy2_pass_harness.h"

namespace velmire::test {
namespace {

constexpr int kY = 2;  // the only working row of a 5-row frame

// Steep sawtooth luma of the given period (4 or 12 samples): every macropixel is an edge.
int Saw(int period, int sample) {
  const int phase = ((sample % period) + period) % period;
  return phase * (240 / period);
}

// A candidate position: frame -1/0/+1, row relative to the working row, shift in pixels.
struct Place {
  int frame, row, shift;
};

// A row of frame n-1, n or n+1 holding the reference luma displaced by `shift` pixels (so the
// candidate at that shift matches), raised by `lumaDelta` (score 8 * lumaDelta), with chroma
// U = uBase + macropixel and V = U + 50.
struct Placement {
  Place at;
  int lumaDelta;
  int uBase;
};

// Frames 0, 1, 2 of 48 bytes by 5 rows (one block, at x = 16, macropixels 4 to 7): flat luma
// 255 everywhere, which never matches a steep block, except the sawtooth reference row 2 of
// frame 1 (chroma 200) and the placed rows.
std::vector<Yuy2Picture> SearchScene(int period, const std::vector<Placement>& placements) {
  std::vector<Yuy2Picture> clip(3, Yuy2Picture(48, 5, 255));
  for (int s = 0; s < 24; ++s) clip[1].Luma(kY, s) = static_cast<uint8_t>(Saw(period, s));
  for (int m = 0; m < 12; ++m) clip[1].U(kY, m) = clip[1].V(kY, m) = 200;
  for (const Placement& p : placements) {
    Yuy2Picture& picture = clip[static_cast<size_t>(p.at.frame + 1)];
    const int row = kY + p.at.row;
    for (int s = 0; s < 24; ++s)
      picture.Luma(row, s) = static_cast<uint8_t>(Saw(period, s - p.at.shift) + p.lumaDelta);
    for (int m = 0; m < 12; ++m) {
      picture.U(row, m) = static_cast<uint8_t>(p.uBase + m);
      picture.V(row, m) = static_cast<uint8_t>(p.uBase + m + 50);
    }
  }
  return clip;
}

// Frame 1 with the block's chroma averaged with the winner's (every macropixel is marked).
Yuy2Picture BlendedWith(const std::vector<Yuy2Picture>& clip, std::optional<Place> winner) {
  Yuy2Picture expected = clip[1];
  if (!winner) return expected;
  const Yuy2Picture& source = clip[static_cast<size_t>(winner->frame + 1)];
  for (int m = 4; m < 8; ++m) {
    const int from = m + winner->shift / 2;
    expected.U(kY, m) =
        static_cast<uint8_t>((clip[1].U(kY, m) + source.U(kY + winner->row, from)) / 2);
    expected.V(kY, m) =
        static_cast<uint8_t>((clip[1].V(kY, m) + source.V(kY + winner->row, from)) / 2);
  }
  return expected;
}

TEST_F(Yuy2PassTest, PicksTheEarliestStrictlyBestCandidateBelowNoise) {
  const struct {
    const char* name;
    int period;
    std::vector<Placement> placements;
    int noise;
    std::optional<Place> winner;
  } kCases[] = {
      {"exact at place 1 beats exact at places 22, 25, 29",
       12,
       {{{-1, -2, -6}, 0, 10}, {{-1, -1, 0}, 0, 40}, {{0, -1, 0}, 0, 60}, {{1, 0, 0}, 0, 80}},
       60,
       Place{-1, -2, -6}},
      {"places 4 and 23 both exact: 4 wins", 4, {{{-1, 0, 0}, 0, 10}}, 60, Place{-1, 0, -4}},
      {"score equal to Noise is never chosen", 12, {{{-1, 0, 0}, 3, 10}}, 24, std::nullopt},
      {"score one below Noise is chosen", 12, {{{-1, 0, 0}, 3, 10}}, 25, Place{-1, 0, 0}},
      {"Noise 0 keeps the block against an exact match",
       12,
       {{{-1, 0, 0}, 0, 10}},
       0,
       std::nullopt},
      {"a strictly better last place replaces an earlier match",
       12,
       {{{-1, -2, -6}, 2, 10}, {{1, 2, 2}, 0, 80}},
       60,
       Place{1, 2, 2}},
      {"equal later score does not replace",
       12,
       {{{-1, 1, -2}, 1, 10}, {{1, 1, 6}, 1, 80}},
       60,
       Place{-1, 1, -2}},
  };
  for (const auto& c : kCases) {
    const std::vector<Yuy2Picture> clip = SearchScene(c.period, c.placements);
    const PassRun run = Run(clip, 1, FilterSettings{30, c.noise, 1, false});
    EXPECT_EQ(FirstDifference(BlendedWith(clip, c.winner), run.output), "") << c.name;
  }
}

TEST_F(Yuy2PassTest, BlendsMarkedMacropixelsOnlyRoundingDown) {
  // Luma with edges in macropixels 4 and 5 alone (Margin 0), or in all four of the block.
  const std::vector<int> kFirstTwoMarked = {0,   0,   0,   0,   0,   0,   0,   0,
                                            40,  80,  120, 160, 200, 200, 200, 200,
                                            200, 200, 200, 200, 200, 200, 200, 200};
  std::vector<int> allMarked;
  for (int s = 0; s < 24; ++s) allMarked.push_back(Saw(12, s));
  using Four = std::array<int, 4>;
  const struct {
    const char* name;
    std::vector<int> luma;
    Four refU, bestU, refV, bestV, outU, outV;
  } kCases[] = {
      {"unmarked macropixels keep their chroma",
       kFirstTwoMarked,
       {100, 110, 120, 130},
       {50, 61, 70, 80},
       {10, 20, 30, 40},
       {30, 41, 0, 0},
       {75, 85, 120, 130},
       {20, 30, 30, 40}},
      {"averages round down",
       allMarked,
       {100, 0, 255, 7},
       {101, 255, 255, 8},
       {1, 254, 128, 9},
       {0, 255, 129, 200},
       {100, 127, 255, 7},
       {0, 254, 128, 104}},
  };
  for (const auto& c : kCases) {
    // The best block is frame n-1, row y, shift 0 (place 23): the same luma as the reference.
    std::vector<Yuy2Picture> clip(3, Yuy2Picture(48, 5, 255));
    Yuy2Picture& best = clip[0];
    Yuy2Picture& reference = clip[1];
    for (int s = 0; s < 24; ++s)
      best.Luma(kY, s) = reference.Luma(kY, s) = static_cast<uint8_t>(c.luma[size_t(s)]);
    for (int k = 0; k < 4; ++k) {
      reference.U(kY, 4 + k) = static_cast<uint8_t>(c.refU[size_t(k)]);
      reference.V(kY, 4 + k) = static_cast<uint8_t>(c.refV[size_t(k)]);
      best.U(kY, 4 + k) = static_cast<uint8_t>(c.bestU[size_t(k)]);
      best.V(kY, 4 + k) = static_cast<uint8_t>(c.bestV[size_t(k)]);
    }
    const PassRun run = Run(clip, 1, FilterSettings{30, 60, 0, false});
    Yuy2Picture expected = clip[1];
    for (int k = 0; k < 4; ++k) {
      expected.U(kY, 4 + k) = static_cast<uint8_t>(c.outU[size_t(k)]);
      expected.V(kY, 4 + k) = static_cast<uint8_t>(c.outV[size_t(k)]);
    }
    EXPECT_EQ(FirstDifference(expected, run.output), "") << c.name;
  }
}

TEST_F(Yuy2PassTest, RowAboveIsReadFromTheFetchedFrameNotTheCorrectedOutput) {
  // Rows 3 and 4 of frame n share one sawtooth; everything else is flat. Row 3 takes row 4
  // (place 26), then row 4 takes row 3 (place 25) as it was fetched: chroma 100 and 200 give
  // 150 in both rows (175 in row 4 had it read the corrected row 3).
  std::vector<Yuy2Picture> clip(3, Yuy2Picture(48, 7, 255));
  for (int y : {3, 4}) {
    for (int s = 0; s < 24; ++s) clip[1].Luma(y, s) = static_cast<uint8_t>(Saw(12, s));
    for (int m = 0; m < 12; ++m)
      clip[1].U(y, m) = clip[1].V(y, m) = static_cast<uint8_t>(y == 3 ? 100 : 200);
  }
  const PassRun run = Run(clip, 1, FilterSettings{});
  Yuy2Picture expected = clip[1];
  for (int y : {3, 4})
    for (int m = 4; m < 8; ++m) expected.U(y, m) = expected.V(y, m) = 150;
  EXPECT_EQ(FirstDifference(expected, run.output), "");
}

TEST_F(Yuy2PassTest, LeavesOutCandidatesReachingPastTheRowEnd) {
  // The last block of the row; the candidate's row holds the reference luma displaced by
  // `shift` and the next row continues it, so a candidate read past the row's end would match
  // exactly and win. Every frame's pitch equals its row size: with row y+2 the last row, any
  // such read of it would leave the frame's buffer.
  const struct {
    int rowSize, shift;
    bool chosen;
  } kCases[] = {
      {68, 4, false}, {68, 6, false}, {68, 2, true},  // W mod 16 = 4: +4 and +6 reach past
      {72, 6, false}, {72, 4, true},                  // W mod 16 = 8: +6 reaches past
      {76, 6, true},                                  // W mod 16 = 12: the last byte is reached
      {64, 6, true},                                  // W mod 16 = 0: the last block is at 32
      {68, -6, true},
  };
  for (const auto& c : kCases) {
    const int x = (c.rowSize - 17) / 16 * 16;
    const int samples = c.rowSize / 2;
    // Steep ramp over the block's eight samples, flat on either side.
    auto reference = [x](int s) {
      return s < x / 2 ? 0 : s < x / 2 + 8 ? 10 + 30 * (s - x / 2) : 250;
    };
    std::vector<Yuy2Picture> clip(3, Yuy2Picture(c.rowSize, 5, 255));
    for (int s = 0; s < samples; ++s) clip[1].Luma(kY, s) = static_cast<uint8_t>(reference(s));
    for (int m = 0; m < c.rowSize / 4; ++m) clip[1].U(kY, m) = clip[1].V(kY, m) = 200;

    // Frame n-1 at the row that has this shift in its set: row y for 0 and 4, row y+1 for 2, 6.
    const int row = c.shift % 4 == 0 ? kY : kY + 1;
    for (int s = 0; s < samples; ++s)
      clip[0].Luma(row, s) = static_cast<uint8_t>(reference(s - c.shift));
    for (int s = 0; s < c.shift; ++s)
      clip[0].Luma(row + 1, s) = static_cast<uint8_t>(reference(samples + s - c.shift));
    for (int m = 0; m < c.rowSize / 4; ++m) clip[0].U(row, m) = clip[0].V(row, m) = 10;

    for (const KernelSet* kernels : AvailableKernels()) {
      const PassRun run = Run(clip, 1, FilterSettings{}, {1}, *kernels);
      EXPECT_EQ(run.output.U(kY, x / 4), c.chosen ? 105 : 200)
          << kernels->name << " kernels, " << c.rowSize << " bytes, shift " << c.shift;
      EXPECT_EQ(run.output.V(kY, x / 4), c.chosen ? 105 : 200)
          << kernels->name << " kernels, " << c.rowSize << " bytes, shift " << c.shift;
    }
  }
}

}  // namespace
}  // namespace velmire::test
