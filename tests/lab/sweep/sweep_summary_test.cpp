// The summary's choice of the best setting: the lowest mean error on detail over the blocks,
// ties to the earlier row, and with flat areas left alone only rows that stay within the limit
// in every block.
#include <vector>

#include <gtest/gtest.h>

#include "lab/sweep/sweep_summary.h"

namespace velmire::lab {
namespace {

struct Figures {
  double detail_error, changed_flat;
};

ClassSweep Block(const std::vector<Figures>& rows) {
  ClassSweep block;
  for (const Figures& f : rows) {
    SweepRow row;
    row.judgement.after.detailed = f.detail_error;
    row.judgement.changed.flat = f.changed_flat;
    block.rows.push_back(row);
  }
  return block;
}

TEST(SweepSummary, BestRowWeighsEveryBlockAndCanSpareFlatAreas) {
  struct Case {
    std::vector<std::vector<Figures>> blocks;  // per block, per grid row
    std::size_t best, best_flat_alone;
  };
  const double touched = 2 * kFlatAreasLeftAlone;
  const Case cases[] = {
      {{{{3.0, 0.0}, {2.0, 0.0}, {2.5, 0.0}}}, 1, 1},
      {{{{3.0, 0.0}, {2.0, touched}, {2.5, 0.0}}}, 1, 2},
      // The mean decides: row 1 wins one block, row 0 both together.
      {{{{3.0, 0.0}, {2.0, 0.0}}, {{1.0, 0.0}, {2.5, 0.0}}}, 0, 0},
      // Touching flat areas in one block is enough to drop out.
      {{{{1.0, 0.0}, {2.0, 0.0}}, {{1.0, touched}, {2.0, 0.0}}}, 0, 1},
      {{{{2.0, 0.0}, {2.0, 0.0}}}, 0, 0},              // a tie goes to the earlier row
      {{{{2.0, touched}, {1.0, touched}}}, 1, 2},      // no row spares the flat areas
  };
  for (const Case& c : cases) {
    std::vector<ClassSweep> blocks;
    for (const std::vector<Figures>& rows : c.blocks) blocks.push_back(Block(rows));
    std::vector<const ClassSweep*> pointers;
    for (const ClassSweep& b : blocks) pointers.push_back(&b);
    EXPECT_EQ(BestRow(pointers), c.best);
    EXPECT_EQ(BestRow(pointers, true), c.best_flat_alone);
  }
}

}  // namespace
}  // namespace velmire::lab
