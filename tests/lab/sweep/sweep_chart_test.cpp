// The sweep's chart: a round axis top, bars whose heights keep the values' proportions, text
// escaped for SVG, and per scene class the means of the baselines and of the charted settings.
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lab/sweep/sweep_chart.h"

namespace velmire::lab {
namespace {

TEST(SweepChart, AxisTopIsTheNextRoundNumber) {
  const struct {
    double largest, top;
  } cases[] = {{0.0, 1.0}, {-3.0, 1.0}, {0.7, 1.0}, {1.0, 1.0}, {1.01, 2.0},
               {2.3, 2.5}, {4.2, 5.0},  {5.1, 10.0}, {15.28, 20.0}, {0.031, 0.05}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(AxisTop(c.largest), c.top) << c.largest;
}

TEST(SweepChart, BarsKeepTheValuesProportionsAndTextIsEscaped) {
  const BarChart chart{"a <b> & c", "error", {"still", "pan"},
                       {{"x & y", {5.0, 2.5}}, {"z", {0.0, 1.25}}}};
  const std::string svg = BarChartSvg(chart);
  EXPECT_EQ(svg.find("<b>"), std::string::npos);
  EXPECT_NE(svg.find("a &lt;b&gt; &amp; c"), std::string::npos);

  const std::regex bar(
      R"re(<rect class="bar"[^>]* height="([0-9.]+)"[^>]*><title>([^<]*)</title>)re");
  std::vector<std::pair<std::string, double>> bars;  // tooltip, height
  for (auto m = std::sregex_iterator(svg.begin(), svg.end(), bar); m != std::sregex_iterator();
       ++m) {
    bars.emplace_back((*m)[2], std::stod((*m)[1]));
  }
  ASSERT_EQ(bars.size(), 4u);  // groups x series, group by group
  EXPECT_EQ(bars[0].first, "x &amp; y, still: 5.00");
  EXPECT_EQ(bars[3].first, "z, pan: 1.25");
  const double full = bars[0].second;  // 5.0 is the axis top
  EXPECT_GT(full, 100.0);
  EXPECT_NEAR(bars[1].second, 0.0, 0.05);
  EXPECT_NEAR(bars[2].second, full / 2, 0.1);
  EXPECT_NEAR(bars[3].second, full / 4, 0.1);
}

ClassSweep Block(SceneClass scene, double unfiltered, std::vector<SweepRow> rows) {
  ClassSweep block{scene, VideoStandard::kNtsc, ChromaLayout::k422, {}, 0, std::move(rows)};
  for (const double error : {unfiltered, 1.0, 2.0, 0.5}) {
    block.baselines.emplace_back();
    block.baselines.back().after.detailed = error;
  }
  return block;
}

SweepRow Row(Settings settings, double error) {
  SweepRow row{settings, {}, 100.0};
  row.judgement.after.detailed = error;
  return row;
}

TEST(SweepChart, TakesEachClassMeansOfTheBaselinesAndTheChartedSettings) {
  const Settings d0{}, d1{.Mode = 1};
  const Settings loose1{.ThresholdY = 10, .Noise = 200, .Margin = 4, .Mode = 1};
  const auto rows = [&](double shift) {
    return std::vector<SweepRow>{Row(d0, 4 + shift), Row(d1, 3 + shift), Row(loose1, 1 + shift)};
  };
  const std::vector<ClassSweep> results = {Block(SceneClass::kStill, 6, rows(0)),
                                           Block(SceneClass::kStripes, 10, rows(1)),
                                           Block(SceneClass::kStill, 8, rows(1))};
  using Series = std::vector<std::pair<std::string, std::vector<double>>>;
  const Series baselines = {
      {"unfiltered", {7, 10}}, {"3-frame average", {1, 1}}, {"vertical 1-2-1", {2, 2}},
      {"gated average", {0.5, 0.5}}};
  const struct {
    std::vector<Settings> shown;
    Series filtered;  // after the baselines
  } cases[] = {
      // In grid order, whatever the order asked for.
      {{loose1, d0}, {{"mode 0, 30:60:1 (defaults)", {4.5, 5}}, {"mode 1, 10:200:4", {1.5, 2}}}},
      // None of them in the grid: every row.
      {{Settings{.Noise = 200}},
       {{"mode 0, 30:60:1 (defaults)", {4.5, 5}},
        {"mode 1, 30:60:1 (defaults)", {3.5, 4}},
        {"mode 1, 10:200:4", {1.5, 2}}}},
  };
  for (const auto& c : cases) {
    const BarChart chart = SweepErrorChart(results, c.shown);
    EXPECT_EQ(chart.groups, (std::vector<std::string>{"still picture", "still stripes"}));
    Series expected = baselines;
    expected.insert(expected.end(), c.filtered.begin(), c.filtered.end());
    ASSERT_EQ(chart.series.size(), expected.size());
    for (std::size_t s = 0; s < expected.size(); ++s) {
      EXPECT_EQ(chart.series[s].name, expected[s].first);
      EXPECT_EQ(chart.series[s].values, expected[s].second) << expected[s].first;
    }
  }
}

}  // namespace
}  // namespace velmire::lab
