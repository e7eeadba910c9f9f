// The block search and blend, one block followed through the whole filter: which table entry
// supplies the chroma (acceptance below Noise, ties, the lower-row entries of the odd-count
// table, rows a table must not read), which columns take it, and how it is averaged.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "block_scene.h"

namespace velmire::test {
namespace {

// Frames of 16 x 6 chroma samples: rows 1 and 3 use the odd-count table (A), rows 2 and 4
// the even-count table (B). The block sits at column 8.
constexpr int kRowA = 3;
constexpr int kRowB = 2;
constexpr int kBlock = 8;
constexpr std::array<bool, 4> kAllMarked{true, true, true, true};

struct SearchCase {
  std::string name;
  int cy;
  std::vector<Placement> placements;
  int noise;
  std::optional<Source> winner;
  std::array<bool, 4> marked = kAllMarked;
};

// In table-A rows the mask comes from luma row 2cy and the reference from 2cy-1; frame n's
// luma row 2cy+1, the reference of entries 18 and 19, gets a pattern of its own so that the
// flat neighbours do not match it.
std::vector<Placement> RowA(std::vector<Placement> more) {
  more.insert(more.begin(), {{0, -1, 0, kRamp}, {0, 0, 0, kRamp}, {0, +1, 0, kFall}});
  return more;
}
// In table-B rows luma row 2cy is both the mask row and the reference.
std::vector<Placement> RowB(std::vector<Placement> more) {
  more.insert(more.begin(), {0, 0, 0, kRamp});
  return more;
}

std::vector<SearchCase> NamedCases() {
  return {
      {"B: entries 3 and 16 both exact, entry 3 (n-1, offset -4) wins", kRowB,
       {{0, 0, 0, kPeriodic}, {-1, 0, -4, kPeriodicWide}}, 60, Source{-1, 0, -2}},
      {"B: exact entry 8 (n, offset -4) wins before exact entry 16 (n-1, offset 0)", kRowB,
       {{0, 0, -4, kPeriodicWide}, {-1, 0, 0, kPeriodic}}, 60, Source{0, 0, -2}},
      {"A: exact entry 8 (n, offset -4) wins before exact entry 16 (n-1, offset 0)", kRowA,
       {{0, -1, -4, kPeriodicWide}, {0, 0, 0, kRamp}, {0, +1, 0, kFall}, {-1, -1, 0, kPeriodic}},
       60, Source{0, 0, -2}},
      {"B: Noise 255 takes a difference of 254 (entry 32)", kRowB,
       RowB({{+1, +1, +2, kRampOff254}}), 255, Source{+1, +1, +1}},
      {"B: Noise 255 never takes a difference of 255", kRowB,
       RowB({{+1, +1, +2, kRampOff255}}), 255, std::nullopt},
      {"B: Noise 0 takes nothing, not even an exact match", kRowB,
       RowB({{-1, 0, 0, kRamp}, {0, -1, -2, kRamp}}), 0, std::nullopt},
      {"B: a difference equal to Noise is not taken", kRowB,
       RowB({{-1, -1, -6, kRampOff1}}), 1, std::nullopt},
      {"B: a strictly smaller difference late in the table beats an earlier one", kRowB,
       RowB({{-1, -1, -6, kRampOff1}, {+1, +1, +2, kRamp}}), 60, Source{+1, +1, +1}},
      {"B: the earlier of two equal differences wins", kRowB,
       RowB({{-1, -1, -6, kRampOff1}, {+1, +1, +2, kRampOff1}}), 60, Source{-1, -1, -3}},
      {"A: entry 18 (n-1, lower luma row) wins over a difference of 1 in row 2cy-1", kRowA,
       RowA({{0, +1, 0, kFall}, {-1, +1, 0, kFall}, {+1, +1, 0, kFall}, {-1, -2, -6, kRampOff1}}),
       60, Source{-1, 0, 0}},
      {"A: entry 19 (n+1, lower luma row) wins when n-1 differs there", kRowA,
       RowA({{0, +1, 0, kFall}, {-1, +1, 0, kFallOff2}, {+1, +1, 0, kFall}}), 60,
       Source{+1, 0, 0}},
      {"A: entries 18 and 19 lose to a smaller difference in row 2cy-1", kRowA,
       RowA({{0, +1, 0, kFall}, {-1, +1, 0, kFallOff2}, {-1, -2, -6, kRampOff1}}), 60,
       Source{-1, -1, -3}},
      {"A: mask 0, FF, 0, FF changes only columns x+1 and x+3", kRowA,
       {{0, -1, 0, kRamp}, {0, 0, 0, kAlternateMarks}, {0, +1, 0, kFall}, {+1, -1, +4, kRamp}},
       60,
       Source{+1, 0, +2}, {false, true, false, true}},
  };
}

// A copy of the reference block where the row's table must not look: luma rows 2cy-2 and
// 2cy+2 for table B; luma rows 2cy and 2cy+1 of the neighbours for table A (row 2cy+1 is
// compared only with itself). Nothing may be taken.
std::vector<SearchCase> RowsATableMustNotRead() {
  std::vector<SearchCase> cases;
  for (int frame : {-1, 0, +1}) {
    for (int d = -6; d <= 6; d += 2) {
      for (int row : {-2, +2}) {
        cases.push_back({"B decoy: frame " + std::to_string(frame) + ", luma row 2cy" +
                             (row > 0 ? "+" : "") + std::to_string(row) + ", offset " +
                             std::to_string(d),
                         kRowB, RowB({{frame, row, d, kRamp}}), 255, std::nullopt});
      }
      for (int row : {0, +1}) {
        if (frame == 0) continue;  // frame n's rows 2cy and 2cy+1 hold the mask and kFall
        cases.push_back({"A decoy: frame " + std::to_string(frame) + ", luma row 2cy+" +
                             std::to_string(row) + ", offset " + std::to_string(d),
                         kRowA, RowA({{frame, row, d, kRamp}}), 255, std::nullopt});
      }
    }
  }
  return cases;
}

std::vector<int> BlockOf(const std::vector<int>& row) {
  return {row.begin() + kBlock, row.begin() + kBlock + 4};
}

// Other blocks of the row may find matches of their own among the placed patterns; only the
// block under test is checked.
void ExpectCase(const SearchCase& c) {
  SCOPED_TRACE(c.name);
  BlockScene scene(c.cy, kBlock);
  for (const Placement& p : c.placements) scene.Place(p);
  const PlanarImage out = scene.Run(SceneSettings(c.noise));
  const auto [u, v] = scene.ExpectedRow(c.winner, c.marked);
  EXPECT_EQ(BlockOf(scene.URow(out, c.cy)), BlockOf(u));
  EXPECT_EQ(BlockOf(scene.VRow(out, c.cy)), BlockOf(v));
  EXPECT_EQ(out.y, scene.Frame(0).y);
}

TEST(PlanarBlockSearch, ChoosesTheEarliestStrictlyBestEntryBelowNoise) {
  for (const SearchCase& c : NamedCases()) ExpectCase(c);
}

TEST(PlanarBlockSearch, NeverReadsRowsOutsideTheRowsTable) {
  for (const SearchCase& c : RowsATableMustNotRead()) ExpectCase(c);
}

// 10 and 13 give 11, 0 and 1 give 0, 255 and 255 give 255 (no overflow), and U and V are
// averaged alike.
TEST(PlanarBlockSearch, BlendAveragesAndRoundsDown) {
  BlockScene scene(kRowB, kBlock);
  scene.Place({0, 0, 0, kRamp});
  scene.Place({-1, 0, 0, kRamp});  // entry 16: frame n-1, same row, offset 0
  const uint8_t own[4] = {10, 0, 255, 200};
  const uint8_t other[4] = {13, 1, 255, 101};
  const uint8_t blended[4] = {11, 0, 255, 150};
  for (int k = 0; k < 4; ++k) {
    scene.Frame(0).U(kRowB, kBlock + k) = own[k];
    scene.Frame(0).V(kRowB, kBlock + k) = other[k];
    scene.Frame(-1).U(kRowB, kBlock + k) = other[k];
    scene.Frame(-1).V(kRowB, kBlock + k) = own[k];
  }
  const PlanarImage out = scene.Run(SceneSettings(60));
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(out.U(kRowB, kBlock + k), blended[k]) << "column " << k;
    EXPECT_EQ(out.V(kRowB, kBlock + k), blended[k]) << "column " << k;
  }
}

// Row 1 (table A) and row 2 (table B) both correct block 8; row 2 takes its chroma from row
// 1 of frame n (entry 7), which must be read as fetched, not as row 1 was corrected.
TEST(PlanarBlockSearch, RowAboveIsReadFromTheFetchedFrame) {
  BlockScene scene(kRowB, kBlock);
  scene.Place({0, 0, 0, kRamp});    // row 2: mask and reference (luma row 4)
  scene.Place({0, -1, -2, kRamp});  // row 2: entry 7, frame n, luma row 3, offset -2
  scene.Place({0, -2, 0, kRamp});   // row 1: mask (luma row 2)
  scene.Place({0, -3, 0, kRamp});   // row 1: reference (luma row 1)
  scene.Place({-1, -3, 0, kRamp});  // row 1: entry 16, frame n-1, luma row 1
  const PlanarImage out = scene.Run(SceneSettings(60));

  const std::vector<int> rowAboveIn = scene.URow(scene.Frame(0), kRowB - 1);
  const std::vector<int> rowAboveOut = scene.URow(out, kRowB - 1);
  for (int c = kBlock; c < kBlock + 3; ++c)
    ASSERT_NE(rowAboveOut[static_cast<size_t>(c)], rowAboveIn[static_cast<size_t>(c)])
        << "row 1 must be corrected where row 2 reads it, column " << c;

  const auto [u, v] = scene.ExpectedRow(Source{0, -1, -1}, kAllMarked);
  EXPECT_EQ(scene.URow(out, kRowB), u);
  EXPECT_EQ(scene.VRow(out, kRowB), v);
}

}  // namespace
}  // namespace velmire::test
