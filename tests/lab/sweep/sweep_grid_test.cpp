// The grid of the settings sweep: the built-in one, and one given on the command line.
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "lab/clips/tool_names.h"
#include "lab/sweep/sweep_grid.h"

namespace velmire::lab {
namespace {

std::tuple<int, int, int, int> Key(const Settings& s) {
  return {s.ThresholdY, s.Noise, s.Margin, s.Mode};
}

TEST(SweepGrid, BuiltInGridIsSmallDistinctInRangeAndHasEachSettingInBothModes) {
  const std::vector<Settings> grid = DefaultSweepGrid();
  ASSERT_GE(grid.size(), 24u);
  EXPECT_LE(grid.size(), 48u);
  EXPECT_EQ(grid.front(), Settings{});  // 30, 60, 1, no debug, mode 0
  for (std::size_t i = 0; i < grid.size() / 2; ++i) {
    Settings stronger = grid[i];
    stronger.Mode = 1;
    EXPECT_EQ(grid[i + grid.size() / 2], stronger);
  }
  std::set<std::tuple<int, int, int, int>> seen;
  for (const Settings& s : grid) {
    EXPECT_TRUE(seen.insert(Key(s)).second) << "twice: " << s.ThresholdY << ":" << s.Noise
                                            << ":" << s.Margin;
    EXPECT_FALSE(s.Debug);
    EXPECT_TRUE(s.ThresholdY >= 0 && s.ThresholdY <= 255);
    EXPECT_TRUE(s.Noise >= 0 && s.Noise <= 255);
    EXPECT_TRUE(s.Margin >= 0 && s.Margin <= 4);
  }
}

TEST(SweepGrid, ParsesCombinationsInOrder) {
  struct Case {
    std::string text;
    std::vector<Settings> grid;
  };
  const Case cases[] = {
      {"30:60:1", {{30, 60, 1}}},
      {"10:200:4,45:30:0", {{10, 200, 4}, {45, 30, 0}}},
      {"0:0:0,255:255:4,+7:08:2", {{0, 0, 0}, {255, 255, 4}, {7, 8, 2}}},
      {"30:60:1:0,15:120:2", {{30, 60, 1}, {15, 120, 2}}},  // mode 0 named or left out
      {"10:200:4:1", {{10, 200, 4, false, 1}}},
  };
  for (const Case& c : cases) {
    const std::vector<Settings> grid = ParseSweepGrid(c.text);
    ASSERT_EQ(grid.size(), c.grid.size()) << c.text;
    for (std::size_t i = 0; i < grid.size(); ++i) EXPECT_EQ(grid[i], c.grid[i]) << c.text;
  }
}

TEST(SweepGrid, RefusesWhatTheFilterWouldNotUseAsWritten) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"", "'' is not three or four values"},
      {"30:60", "'30:60' is not three or four values"},
      {"30:60:1:0:0", "is not three or four values"},
      {"30:60:1,", "'' is not three or four values"},
      {"30:60:1,,20:60:1", "'' is not three or four values"},
      {"30:x:1", "'30:x:1' is not made of integers"},
      {"30::1", "is not made of integers"},
      {"30:60: 1", "is not made of integers"},
      {"30:60:1:", "is not made of integers"},
      {"256:60:1", "'256:60:1' is out of range"},
      {"30:-1:1", "is out of range"},
      {"30:60:5", "is out of range"},
      {"30:60:1:2", "'30:60:1:2' is out of range"},  // a mode there is not
      {"30:60:1:-1", "'30:60:1:-1' is out of range"},
  };
  for (const Case& c : cases) {
    try {
      ParseSweepGrid(c.text);
      ADD_FAILURE() << "accepted: '" << c.text << "'";
    } catch (const UsageError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("--sweep-grid"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace velmire::lab
