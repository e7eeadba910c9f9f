// velmire --demo --sweep on a reduced grid: one table per layout, one row per combination in
// the order given, finite figures in range, and the settings really reach the filter.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

struct TableRow {
  std::vector<double> cells;  // settings, two errors, two shares in percent, fps
};

struct Table {
  std::string title;
  std::vector<TableRow> rows;
};

// The figure in a table cell (a trailing % dropped); NaN when the cell is not a number.
double ParseCell(std::string cell) {
  const std::size_t first = cell.find_first_not_of(' ');
  const std::size_t last = cell.find_last_not_of(' ');
  cell = first == std::string::npos ? "" : cell.substr(first, last - first + 1);
  if (!cell.empty() && cell.back() == '%') cell.pop_back();
  char* end = nullptr;
  const double value = std::strtod(cell.c_str(), &end);
  return cell.empty() || *end != '\0' ? std::nan("") : value;
}

// Tables of the report, each after its bold title line; a data row starts with a digit.
std::vector<Table> ParseTables(const std::string& report) {
  std::vector<Table> tables;
  std::istringstream lines(report);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.starts_with("**")) tables.push_back(Table{line, {}});
    const bool data_row = line.starts_with("| ") && line.size() > 2 &&
                          std::isdigit(static_cast<unsigned char>(line[2]));
    if (!data_row || tables.empty()) continue;
    TableRow row;
    std::istringstream cells(line.substr(1));
    std::string cell;
    while (std::getline(cells, cell, '|')) row.cells.push_back(ParseCell(cell));
    tables.back().rows.push_back(row);
  }
  return tables;
}

TEST(SweepRun, ReducedGridGivesOneFiniteRowPerCombinationInEachLayout) {
  TempDir dir;
  const std::string demo = dir / "demo";
  const ToolRun run = RunTool({"--demo", demo, "--sweep-grid", "30:60:1,10:200:4,45:30:0", "-j2"},
                              "/dev/null", dir / "report.txt");
  ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
  const std::string report = ReadFile(dir / "report.txt");
  std::cout << report;

  const std::vector<Table> tables = ParseTables(report);
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_NE(tables[0].title.find("4:2:2"), std::string::npos);
  EXPECT_NE(tables[1].title.find("4:2:0"), std::string::npos);
  const double settings[3][3] = {{30, 60, 1}, {10, 200, 4}, {45, 30, 0}};
  for (const Table& table : tables) {
    ASSERT_EQ(table.rows.size(), 3u) << table.title;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      const std::vector<double>& c = table.rows[r].cells;
      ASSERT_EQ(c.size(), 8u) << table.title << " row " << r;
      for (double value : c) EXPECT_TRUE(std::isfinite(value)) << table.title << " row " << r;
      for (int k = 0; k < 3; ++k) EXPECT_EQ(c[k], settings[r][k]) << table.title << " row " << r;
      EXPECT_GE(c[3], 0.0);
      EXPECT_GE(c[4], 0.0);
      for (int k = 5; k < 7; ++k) EXPECT_TRUE(c[k] >= 0.0 && c[k] <= 100.0) << c[k];
      EXPECT_GT(c[7], 0.0) << "frames per second";
    }
    // The settings reach the filter: the widest mask changes more than the narrowest.
    EXPECT_GT(table.rows[1].cells[5], table.rows[2].cells[5]) << table.title;
  }
  // The report is also kept in the demo folder, exactly as printed.
  const std::string kept = ReadFile(demo + "/settings-sweep.md");
  EXPECT_FALSE(kept.empty());
  EXPECT_NE(report.find(kept), std::string::npos);
}

}  // namespace
}  // namespace velmire::cli::testing
