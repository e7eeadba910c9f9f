// The whole YUY2 pass against a plain model of its rules, on frames built so that displaced
// blocks often match: every row of every frame is a window of one steep luma texture at a
// small random offset, with a little noise. The strongest guard against slips in the
// candidate table, its row and frame addressing, and the block and row bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "naive_reduce_yuy2.h"
#include "yuy2/candidate_table_yuy2.h"
#include "yuy2_pass_harness.h"

namespace velmire::test {
namespace {

TEST(CandidateTableYUY2, FollowsTheDescribedOrder) {
  const std::vector<NaiveCandidate> described = NaiveCandidateOrder();
  ASSERT_EQ(described.size(), CandidateTableYUY2.size());
  for (size_t i = 0; i < described.size(); ++i) {
    const CandidateEntryYUY2& entry = CandidateTableYUY2[i];
    EXPECT_EQ((NaiveCandidate{entry.frame, entry.rowOffset, entry.shift}), described[i])
        << "place " << i + 1;
  }
  // A few places spelled out, in case the description above were misread.
  const struct {
    int place;
    NaiveCandidate candidate;
  } kPlaces[] = {{1, {-1, -2, -6}}, {4, {-1, 0, -4}}, {21, {1, 2, -2}}, {22, {-1, -1, 0}},
                 {23, {-1, 0, 0}},  {25, {0, -1, 0}}, {29, {1, 0, 0}},  {30, {-1, -2, 6}},
                 {39, {0, -1, 6}},  {40, {0, -1, 2}}, {50, {1, 2, 2}}};
  for (const auto& p : kPlaces) EXPECT_EQ(described[static_cast<size_t>(p.place - 1)], p.candidate);
}

// A random walk of steep steps: long monotone runs give many edge samples.
std::vector<int> SteepTexture(int length, std::mt19937& rng) {
  std::vector<int> texture(static_cast<size_t>(length));
  int value = 128;
  int direction = 1;
  for (int& t : texture) {
    if (rng() % 10 < 3) direction = -direction;
    value += direction * static_cast<int>(15 + rng() % 50);
    if (value < 0 || value > 255) {
      direction = -direction;
      value = std::clamp(value, 0, 255);
    }
    t = value;
  }
  return texture;
}

// Rows are windows of the texture at offsets 0..13, half of them exact copies, a few rows pure
// noise; chroma is random.
Yuy2Picture TexturedPicture(int rowSize, int height, const std::vector<int>& texture,
                            std::mt19937& rng) {
  Yuy2Picture picture(rowSize, height);
  for (int y = 0; y < height; ++y) {
    const int offset = static_cast<int>(rng() % 14);
    const int noise = rng() % 2 ? 0 : 3;
    const bool random = rng() % 8 == 0;
    for (int s = 0; s < picture.Samples(); ++s) {
      const int jitter = noise ? static_cast<int>(rng() % (2 * noise + 1)) - noise : 0;
      const int luma = random ? static_cast<int>(rng() % 256)
                              : texture[static_cast<size_t>(s + offset)] + jitter;
      picture.Luma(y, s) = static_cast<uint8_t>(std::clamp(luma, 0, 255));
    }
    for (int m = 0; m < picture.Macropixels(); ++m) {
      picture.U(y, m) = static_cast<uint8_t>(rng());
      picture.V(y, m) = static_cast<uint8_t>(rng());
    }
  }
  return picture;
}

TEST_F(Yuy2PassTest, WholeFramesMatchAPlainModelOfTheRules) {
  // Row sizes cover every remainder modulo 16, the borders of zero and one block, and rows long
  // enough for many blocks; heights cover no working row, one, and several.
  const int kRowSizes[] = {32, 36, 44, 48,  52,  56,  60,  64,  68,
                           72, 76, 80, 196, 200, 204, 208, 1444};
  const int kHeights[] = {4, 5, 6, 8, 11};
  const FilterSettings kSettings[] = {
      {30, 60, 1, false}, {0, 255, 4, false},   {10, 255, 0, false}, {30, 0, 1, false},
      {60, 20, 2, false}, {255, 255, 1, false}, {30, 60, 1, true},   {0, 100, 4, true},
  };
  // Every frame of a clip has its own alignment, hence its own pitch.
  const std::vector<std::vector<int>> kAlignSets = {{1, 16, 4}, {64, 1, 8}, {4, 8, 1}};

  NaiveStats stats;
  int clipIndex = 0;
  for (int rowSize : kRowSizes) {
    for (int height : kHeights) {
      std::mt19937 rng(static_cast<unsigned>(rowSize * 131 + height));
      const std::vector<int> texture = SteepTexture(rowSize / 2 + 16, rng);
      std::vector<Yuy2Picture> clip;
      for (int i = 0; i < 3; ++i) clip.push_back(TexturedPicture(rowSize, height, texture, rng));
      const std::vector<int>& aligns =
          kAlignSets[static_cast<size_t>(clipIndex++) % kAlignSets.size()];

      for (const FilterSettings& s : kSettings) {
        for (int n = 0; n < 3; ++n) {
          const Yuy2Picture expected = NaiveReduceYUY2(
              clip[static_cast<size_t>(std::max(n - 1, 0))], clip[static_cast<size_t>(n)],
              clip[static_cast<size_t>(std::min(n + 1, 2))], s, stats);
          for (const KernelSet* kernels : AvailableKernels()) {
            const PassRun run = Run(clip, n, s, aligns, *kernels);
            ASSERT_EQ(FirstDifference(expected, run.output), "")
                << kernels->name << " kernels, " << rowSize << "x" << height << " bytes, frame "
                << n << ", ThresholdY " << s.ThresholdY << " Noise " << s.Noise << " Margin "
                << s.Margin << " Debug " << s.Debug;
          }
        }
      }
    }
  }
  // The frames must actually exercise the search: many blocks matched, many kept, much painted.
  EXPECT_GT(stats.blocksMatched, 1000);
  EXPECT_GT(stats.blocksSearched - stats.blocksMatched, 1000);
  EXPECT_GT(stats.macropixelsPainted, 1000);
}

}  // namespace
}  // namespace velmire::test
