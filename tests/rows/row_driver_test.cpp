// The row loop: which step runs on which row, and the mask each step sees.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rows/row_driver.h"

namespace velmire::testing {
namespace {

// Rows 2 .. 6 of which rows 3 and 5 get a mark; the steps write what they see into a log.
TEST(RowDriver, CorrectsOrPaintsMarkedRowsAndFinishesEveryRow) {
  for (const bool debug : {false, true}) {
    std::vector<uint8_t> mask(8, 0);
    std::string log;
    DriveRows(
        2, 6, mask.data(), int(mask.size()), debug,
        [&](int row, uint8_t* m) {
          // The mask arrives cleared, whatever the row before left in it.
          for (int i = 0; i < 8; ++i) EXPECT_EQ(m[i], 0) << "row " << row;
          if (row % 2 == 1) m[row] = 1;
        },
        [&](int row, const uint8_t*) { log.append(1, 'p').append(std::to_string(row)); },
        [&](int row, const uint8_t* m) {
          EXPECT_EQ(m[row], 1);
          log.append(1, 'c').append(std::to_string(row));
        },
        [&](int row) { log.append(1, 'f').append(std::to_string(row)); });
    EXPECT_EQ(log, debug ? "f2p3f3f4p5f5f6" : "f2c3f3f4c5f5f6");
  }
}

}  // namespace
}  // namespace velmire::testing
