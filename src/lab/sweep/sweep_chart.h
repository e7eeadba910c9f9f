// The settings sweep's chart: a grouped bar chart written as a standalone SVG picture, with no
// plotting library, so that the sweep draws its own figure for the documentation. The picture
// knows only groups, series and values; SweepErrorChart picks them from the sweep's results.
#pragma once

#include <string>
#include <vector>

#include "base/settings.h"
#include "lab/sweep/sweep_table.h"

namespace velmire::lab {

struct BarSeries {
  std::string name;
  std::vector<double> values;  // one per group, >= 0
};

struct BarChart {
  std::string title;
  std::string axis_label;           // what the values measure
  std::vector<std::string> groups;  // along the horizontal axis
  std::vector<BarSeries> series;    // one bar in each group, in this order
};

// The top of the value axis: the smallest of 1, 2, 2.5 or 5 times a power of ten that is at
// least `largest` (1 when `largest` is not above 0).
double AxisTop(double largest);

// The chart as an SVG document: bars from 0 to each value on an axis from 0 to
// AxisTop(largest value), each bar labelled with its value and carrying a tooltip
// "series, group: value", a legend under the groups.
std::string BarChartSvg(const BarChart& chart);

// The settings the sweep's chart shows, in each mode: the defaults, Noise raised to 200 (flat
// areas nearly as untouched as with the defaults), and 10:200:4, the loosest corner of the
// built-in grid.
std::vector<Settings> ChartedSettings();

// Per scene class, the mean chroma error on detail over the standards and layouts: of the
// baselines, and of the grid's rows whose settings are among `shown` (in grid order), or of
// every row when the grid has none of them.
BarChart SweepErrorChart(const std::vector<ClassSweep>& results,
                         const std::vector<Settings>& shown = ChartedSettings());

}  // namespace velmire::lab
