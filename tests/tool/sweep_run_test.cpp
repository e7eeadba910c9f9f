// velmire --demo --sweep on a reduced grid: one table per layout with a block per scene class
// and standard (the baselines, then one row per combination in the order given), finite
// figures in range, the settings really reach the filter, the summary names a setting per
// scene class, and the chart is written beside the tables.
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

using Row = std::vector<std::string>;

struct Table {
  std::string title;  // the bold line before it, if any
  std::vector<Row> rows;
};

std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The figure in a cell (a trailing % dropped); NaN when the cell is not a number.
double Number(std::string cell) {
  if (!cell.empty() && cell.back() == '%') cell.pop_back();
  char* end = nullptr;
  const double value = std::strtod(cell.c_str(), &end);
  return cell.empty() || *end != '\0' ? std::nan("") : value;
}

// The Markdown tables of the report, header and separator lines left out.
std::vector<Table> ParseTables(const std::string& report) {
  std::vector<Table> tables;
  std::istringstream lines(report);
  std::string line, title;
  bool in_table = false;
  while (std::getline(lines, line)) {
    if (line.starts_with("**")) title = line;
    if (!line.starts_with("|")) {
      in_table = false;
      continue;
    }
    if (!in_table) {  // the header line
      tables.push_back(Table{title, {}});
      title.clear();
      in_table = true;
      continue;
    }
    if (line.starts_with("|---")) continue;
    Row row;
    std::istringstream cells(line.substr(1));
    std::string cell;
    while (std::getline(cells, cell, '|')) row.push_back(Trim(cell));
    tables.back().rows.push_back(row);
  }
  return tables;
}

TEST(SweepRun, ReducedGridGivesABlockPerSceneClassAndStandardInEachLayout) {
  TempDir dir;
  const std::string demo = dir / "demo";
  const ToolRun run = RunTool({"--demo", demo, "--sweep-grid", "10:200:4:0,45:30:0", "-j2"},
                              "/dev/null", dir / "report.txt");
  ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
  const std::string report = ReadFile(dir / "report.txt");
  std::cout << report;

  const std::vector<Table> tables = ParseTables(report);
  ASSERT_EQ(tables.size(), 4u);  // two summaries, then one table per layout
  EXPECT_EQ(tables[0].rows.size(), 32u);  // scene classes x standards x layouts
  ASSERT_EQ(tables[1].rows.size(), 8u);   // scene classes
  for (const Row& row : tables[1].rows) {
    ASSERT_EQ(row.size(), 10u);
    EXPECT_TRUE(row[1] == "10:200:4:0" || row[1] == "45:30:0:0") << row[1];
  }
  EXPECT_NE(tables[2].title.find("4:2:2"), std::string::npos);
  EXPECT_NE(tables[3].title.find("4:2:0"), std::string::npos);

  const std::vector<std::string> corrections = {"unfiltered", "3-frame average", "vertical 1-2-1",
                                                "gated average", "Velmire", "Velmire"};
  const double settings[2][4] = {{10, 200, 4, 0}, {45, 30, 0, 0}};
  for (const Table* table : {&tables[2], &tables[3]}) {
    ASSERT_EQ(table->rows.size(), 16 * corrections.size()) << table->title;
    std::set<std::string> blocks;
    for (std::size_t start = 0; start < table->rows.size(); start += corrections.size()) {
      const std::string block = table->rows[start][0] + ", " + table->rows[start][1];
      EXPECT_TRUE(blocks.insert(block).second) << "twice: " << block;
      std::map<std::string, std::vector<double>> figures;  // correction: the last row's figures
      for (std::size_t r = 0; r < corrections.size(); ++r) {
        const Row& c = table->rows[start + r];
        ASSERT_EQ(c.size(), 13u) << block << " row " << r;
        EXPECT_EQ(c[0] + ", " + c[1], block);
        EXPECT_TRUE(c[2].starts_with(corrections[r])) << block << ": " << c[2];
        const bool filter = r >= 4;
        for (std::size_t k = 3; k < 13; ++k) {
          const bool blank = !filter && (k < 7 || k == 12);
          if (blank) {
            EXPECT_EQ(c[k], "") << block << " row " << r << " column " << k;
          } else {
            EXPECT_TRUE(std::isfinite(Number(c[k]))) << block << " row " << r << ": " << c[k];
          }
        }
        if (filter) {
          for (int k = 0; k < 4; ++k) EXPECT_EQ(Number(c[3 + k]), settings[r - 4][k]) << block;
          EXPECT_GT(Number(c[12]), 0.0) << "frames per second";
        }
        for (int k = 10; k < 12; ++k) EXPECT_TRUE(Number(c[k]) >= 0.0 && Number(c[k]) <= 100.0);
        figures[corrections[r] + std::to_string(r)] = {Number(c[7]), Number(c[10])};
      }
      // Nothing changes unfiltered; a plain temporal average lowers the error on still content
      // and on slow motion (not across a cut); the gated average is never worse than
      // unfiltered; the widest mask changes more than the narrowest.
      EXPECT_EQ(figures["unfiltered0"][1], 0.0) << block;
      const bool cut = block.starts_with("photo cut");
      if (!cut) {
        EXPECT_LT(figures["3-frame average1"][0], figures["unfiltered0"][0]) << block;
      }
      EXPECT_LE(figures["gated average3"][0], figures["unfiltered0"][0]) << block;
      EXPECT_GT(figures["Velmire4"][1], figures["Velmire5"][1]) << block;
    }
    EXPECT_EQ(blocks.size(), 16u);
  }
  // The report is also kept in the demo folder, exactly as printed.
  const std::string kept = ReadFile(demo + "/settings-sweep.md");
  EXPECT_FALSE(kept.empty());
  EXPECT_NE(report.find(kept), std::string::npos);
  // And the chart: per scene class the four baselines and the one charted row of the grid.
  const std::string chart = ReadFile(demo + "/sweep-chart.svg");
  std::size_t bars = 0;
  for (std::size_t at = 0; (at = chart.find("class=\"bar\"", at)) != std::string::npos; ++at) {
    ++bars;
  }
  EXPECT_EQ(bars, 8u * 5u);
}

}  // namespace
}  // namespace velmire::cli::testing
