// Block differences of both layouts: the sum itself and the strict-less running best.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "detect/block_sad.h"

namespace velmire {
namespace {

constexpr int kMaxShift = 6;

struct SadCase {
  const char* name;
  int candLuma, refLuma;  // every luma sample of the candidate / reference block
  int startBest;
  bool accepted;
  int endBest;
};

const SadCase kSadCases[] = {
    {"identical blocks", 77, 77, 60, true, 0},
    {"identical, best 1", 77, 77, 1, true, 0},
    {"best 0 rejects all", 77, 77, 0, false, 0},
    {"largest difference", 0, 255, 3000, true, 2040},
    {"equal to best is rejected", 0, 255, 2040, false, 2040},
    {"one below best", 10, 13, 25, true, 24},
    {"above best", 10, 13, 24, false, 24},
    {"negative best", 5, 5, -1, false, -1},
};

TEST(BlockSadPlanar, AcceptsOnlyStrictlySmallerDifferences) {
  for (const SadCase& c : kSadCases) {
    for (int shift : {-6, 0, 6}) {
      std::vector<uint8_t> row(8 + 2 * kMaxShift, static_cast<uint8_t>(c.candLuma ^ 0x55));
      const uint8_t* cand = row.data() + kMaxShift;
      std::fill_n(row.data() + kMaxShift + shift, 8, static_cast<uint8_t>(c.candLuma));
      const std::vector<uint8_t> ref(8, static_cast<uint8_t>(c.refLuma));
      int best = c.startBest;
      EXPECT_EQ(BlockSadPlanar(cand, ref.data(), shift, &best), c.accepted)
          << c.name << ", shift " << shift;
      EXPECT_EQ(best, c.endBest) << c.name << ", shift " << shift;
    }
  }
}

TEST(BlockSadYUY2, AcceptsOnlyStrictlySmallerDifferencesAndRecordsTheBlock) {
  for (const SadCase& c : kSadCases) {
    for (int shift : {-6, -2, 0, 4, 6}) {
      // Chroma bytes differ everywhere between candidate and reference; they must not count.
      std::vector<uint8_t> row(16 + 4 * kMaxShift, 0x10);
      const uint8_t* cand = row.data() + 2 * kMaxShift;
      uint8_t* block = row.data() + 2 * kMaxShift + 2 * shift;
      for (int b = 0; b < 16; b += 2) block[b] = static_cast<uint8_t>(c.candLuma);
      std::vector<uint8_t> ref(16, 0xE0);
      for (int b = 0; b < 16; b += 2) ref[b] = static_cast<uint8_t>(c.refLuma);

      int best = c.startBest;
      const uint8_t* bestPos = ref.data();
      BlockSadYUY2(cand, ref.data(), shift, &best, &bestPos);
      EXPECT_EQ(best, c.endBest) << c.name << ", shift " << shift;
      EXPECT_EQ(bestPos, c.accepted ? cand + 2 * shift : ref.data())
          << c.name << ", shift " << shift;
    }
  }
}

TEST(BlockSad, EqualsTheSumOfAbsoluteLumaDifferences) {
  std::mt19937 random(99);
  for (int trial = 0; trial < 500; ++trial) {
    std::vector<uint8_t> row(16 + 4 * kMaxShift), ref(16);
    for (auto& b : row) b = static_cast<uint8_t>(random());
    for (auto& b : ref) b = static_cast<uint8_t>(random());
    const int shift = static_cast<int>(random() % (2 * kMaxShift + 1)) - kMaxShift;

    // Planar: eight consecutive bytes.
    const uint8_t* planarCand = row.data() + kMaxShift;
    int planarSad = 0;
    for (int k = 0; k < 8; ++k) planarSad += std::abs(planarCand[shift + k] - ref[k]);
    int best = 2041;
    ASSERT_TRUE(BlockSadPlanar(planarCand, ref.data(), shift, &best));
    ASSERT_EQ(best, planarSad) << "trial " << trial;

    // YUY2: the eight luma bytes at even offsets.
    const uint8_t* yuy2Cand = row.data() + 2 * kMaxShift;
    int yuy2Sad = 0;
    for (int k = 0; k < 8; ++k) yuy2Sad += std::abs(yuy2Cand[2 * shift + 2 * k] - ref[2 * k]);
    best = 2041;
    const uint8_t* bestPos = nullptr;
    BlockSadYUY2(yuy2Cand, ref.data(), shift, &best, &bestPos);
    ASSERT_EQ(best, yuy2Sad) << "trial " << trial;
    ASSERT_EQ(bestPos, yuy2Cand + 2 * shift);
  }
}

}  // namespace
}  // namespace velmire
