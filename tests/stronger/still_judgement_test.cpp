// The still blend's judgement of a row's blocks and the blend it leads to, on rows built for
// the purpose: still frames, a cut before or after, motion in part of the row (in 4:2:0 in one
// of the chroma row's two luma rows only), at 8 bits and the same pictures at 10.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "stronger/still_blend.h"

namespace velmire::testing {
namespace {

constexpr int kChromaWidth = 64;  // blocks 1 .. 14 (chroma columns 4 .. 59)
constexpr int kBlocks = 14;
constexpr int kLumaSamples = 2 * kChromaWidth;

// Luma with fine steps everywhere (detail for the vote) on bands 16 samples wide (structure the
// low-pass keeps), another shot's luma, and the same picture moved by three samples inside luma
// samples 48 .. 79 (blocks 6 .. 9).
int Picture(int i) { return 40 + (i * 37) % 40 + (i / 16 % 2) * 100; }
int OtherShot(int i) { return 200 - (i * 11) % 150; }
int Moved(int i) { return i >= 48 && i < 80 ? Picture(i + 3) : Picture(i); }

enum class Frame { kStill, kCut, kMoved };

struct Case {
  const char* name;
  Frame frames[5];  // n-2 .. n+2; frame n is always the picture
  bool outer;       // whether frames n-2 and n+2 are given
  int lumaRows;     // 1, or 2 (4:2:0) with the second row of frames n-1 and n+1 taking the
                    // first's change and the first row still
  StillBlend near;  // blocks 1 and 14, far from the moving part
  StillBlend middle;  // blocks 7 and 8, inside it
};

// One row of five frames at 8 bits shifted left by `shift`; chroma of frame f is 100 + 4f.
struct Rows {
  std::array<std::array<std::vector<uint16_t>, 2>, 5> luma;
  std::array<std::vector<uint16_t>, 5> u, v;
  std::vector<uint16_t> outU, outV;

  Rows(const Case& c, int shift) {
    for (int f = 0; f < 5; ++f) {
      for (int r = 0; r < 2; ++r) {
        // In 4:2:0 the change sits in the second luma row alone.
        const Frame kind = c.lumaRows == 2 && r == 0 ? Frame::kStill : c.frames[f];
        for (int i = 0; i < kLumaSamples; ++i) {
          const int value = kind == Frame::kCut ? OtherShot(i)
                            : kind == Frame::kMoved ? Moved(i)
                                                    : Picture(i);
          luma[size_t(f)][size_t(r)].push_back(uint16_t(value << shift));
        }
      }
      u[size_t(f)].assign(kChromaWidth, uint16_t((100 + 4 * f) << shift));
      v[size_t(f)].assign(kChromaWidth, uint16_t((60 + 4 * f) << shift));
    }
    outU.assign(kChromaWidth, 7);
    outV.assign(kChromaWidth, 7);
  }

  StillRow<uint16_t> Row(const Case& c) {
    StillRow<uint16_t> row{};
    for (int f = 0; f < 3; ++f) {
      for (int r = 0; r < 2; ++r) row.luma[f][r] = luma[size_t(f + 1)][size_t(r)].data();
      row.u[f] = u[size_t(f + 1)].data();
      row.v[f] = v[size_t(f + 1)].data();
    }
    for (int side = 0; side < 2 && c.outer; ++side) {
      const size_t f = side == 0 ? 0 : 4;
      for (int r = 0; r < 2; ++r) row.outerLuma[side][r] = luma[f][size_t(r)].data();
      row.outerU[side] = u[f].data();
      row.outerV[side] = v[f].data();
    }
    row.lumaRows = c.lumaRows;
    row.lumaStride = 1;
    row.lumaSamples = kLumaSamples;
    row.outU = outU.data();
    row.outV = outV.data();
    row.chromaStride = 1;
    row.chromaWidth = kChromaWidth;
    return row;
  }
};

TEST(StillJudgement, BlendsStillBlocksAndLeavesCutsAndMotionToTheSearch) {
  constexpr Frame S = Frame::kStill, C = Frame::kCut, M = Frame::kMoved;
  const Case cases[] = {
      {"five still frames", {S, S, S, S, S}, true, 1, kBlendFive, kBlendFive},
      {"three still frames", {S, S, S, S, S}, false, 1, kBlendInner, kBlendInner},
      {"cut before n", {C, C, S, S, S}, true, 1, kKeepSearch, kKeepSearch},
      {"cut after n", {S, S, S, C, C}, true, 1, kKeepSearch, kKeepSearch},
      {"cut before n+2", {S, S, S, S, C}, true, 1, kBlendInner, kBlendInner},
      {"motion", {M, M, S, M, M}, true, 1, kBlendFive, kKeepSearch},
      {"motion in the second luma row", {M, M, S, M, M}, true, 2, kBlendFive, kKeepSearch},
  };
  for (const Case& c : cases) {
    for (const int shift : {0, 2}) {
      SCOPED_TRACE(::testing::Message() << c.name << ", " << 8 + shift << "-bit");
      Rows rows(c, shift);
      const StillRow<uint16_t> row = rows.Row(c);
      StillScratch<uint16_t> scratch(kLumaSamples);
      const StillLimits limits{30 << shift, shift, (256 << shift) - 1};
      JudgeStillBlocks(row, limits, scratch);
      EXPECT_EQ(scratch.state[1], c.near);
      EXPECT_EQ(scratch.state[kBlocks], c.near);
      EXPECT_EQ(scratch.state[7], c.middle);
      EXPECT_EQ(scratch.state[8], c.middle);

      BlendJudgedBlocks(row, limits, scratch);
      // The five frames' 1-2-2-2-1 blend of U 100, 104, 108, 112, 116 is 108, and frames n-1
      // and n+1 (104, 112) give 108 too, alike or not; rounding adds half an 8-bit step, so
      // deeper samples give 108 and a half, which shifted back is 108. Kept blocks hold what
      // the output held; columns outside the blocks are never touched.
      const int blended = ((864 << shift) + (4 << shift)) >> 3;  // the five frames' sum
      EXPECT_EQ(rows.outU[4], c.near == kKeepSearch ? 7 : blended);
      EXPECT_EQ(rows.outU[3], 7);
      EXPECT_EQ(rows.outU[60], 7);
    }
  }
}

// The search skips exactly the blocks the still blend replaces: their mask entries (one a
// chroma column planar, four in YUY2), from column 4 on, while the block starts before W - 4.
TEST(StillJudgement, ClearsTheMarksOfTheBlocksItBlendsAndNoOthers) {
  constexpr int kWidth = 22;  // blocks at 4, 8, 12 and 16
  const uint8_t judged[7] = {kBlendFive, kBlendInner, kKeepSearch, kBlendOuter,
                             kBlendFive, kBlendFive,  kBlendFive};
  for (const int entries : {1, 4}) {
    std::vector<uint8_t> mask(size_t(kWidth * entries), 1);
    ClearBlendedMarks(judged, kWidth, entries, mask.data());
    for (int x = 0; x < kWidth; ++x) {
      const bool cleared = x >= 4 && x < 20 && judged[x / 4] != kKeepSearch;
      for (int e = 0; e < entries; ++e) {
        EXPECT_EQ(mask[size_t(x * entries + e)], cleared ? 0 : 1)
            << "column " << x << ", " << entries << " entries a column";
      }
    }
  }
}

}  // namespace
}  // namespace velmire::testing
