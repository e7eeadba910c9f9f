#include "lab/sweep/sweep_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/settings.h"
#include "lab/sweep/sweep_baselines.h"

namespace velmire::lab {
namespace {

// The picture's frame, in SVG user units.
constexpr double kWidth = 760, kLeft = 56, kRight = 16, kTop = 44, kPlotHeight = 260;
constexpr double kLegendRow = 18;
constexpr int kLegendColumns = 3;
constexpr int kTicks = 5;  // AxisTop divides into five round steps

// Fill colours by series: the baselines in muted tones, then three blues and three oranges
// from light to dark for the charted settings of modes 0 and 1.
constexpr const char* kPalette[] = {"#9e9e9e", "#c9b27c", "#b07aa1", "#7fae8a",
                                    "#c6dbef", "#6baed6", "#2171b5",
                                    "#fdd0a2", "#fd8d3c", "#d94801"};

std::string Number(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Text(double x, double y, const std::string& text, const char* extra = "") {
  return "<text x=\"" + Number("%.1f", x) + "\" y=\"" + Number("%.1f", y) + "\"" + extra + ">" +
         Escaped(text) + "</text>\n";
}

std::string SettingsName(const Settings& s) {
  return "mode " + std::to_string(s.Mode) + ", " + std::to_string(s.ThresholdY) + ":" +
         std::to_string(s.Noise) + ":" + std::to_string(s.Margin);
}

}  // namespace

double AxisTop(double largest) {
  if (!(largest > 0.0)) return 1.0;
  const double power = std::pow(10.0, std::floor(std::log10(largest)));
  for (const double step : {1.0, 2.0, 2.5, 5.0}) {
    if (step * power >= largest) return step * power;
  }
  return 10.0 * power;
}

std::string BarChartSvg(const BarChart& chart) {
  double largest = 0.0;
  for (const BarSeries& s : chart.series) {
    for (const double v : s.values) largest = std::max(largest, v);
  }
  const double top = AxisTop(largest);
  const double plot_width = kWidth - kLeft - kRight, base = kTop + kPlotHeight;
  const std::size_t legend_rows = (chart.series.size() + kLegendColumns - 1) / kLegendColumns;
  const double height = base + 40 + double(legend_rows) * kLegendRow + 8;

  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    Number("%.0f", kWidth) + "\" height=\"" + Number("%.0f", height) +
                    "\" viewBox=\"0 0 " + Number("%.0f", kWidth) + " " +
                    Number("%.0f", height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n" +
                    "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
                    Text(kWidth / 2, 20, chart.title, " text-anchor=\"middle\" font-size=\"13\"") +
                    Text(14, kTop + kPlotHeight / 2, chart.axis_label,
                         (" text-anchor=\"middle\" transform=\"rotate(-90 14 " +
                          Number("%.1f", kTop + kPlotHeight / 2) + ")\"").c_str());
  for (int t = 0; t <= kTicks; ++t) {
    const double y = base - kPlotHeight * t / kTicks;
    svg += "<line x1=\"" + Number("%.0f", kLeft) + "\" x2=\"" + Number("%.0f", kWidth - kRight) +
           "\" y1=\"" + Number("%.1f", y) + "\" y2=\"" + Number("%.1f", y) + "\" stroke=\"" +
           (t == 0 ? "#333" : "#ddd") + "\"/>\n" +
           Text(kLeft - 6, y + 4, Number("%g", top * t / kTicks), " text-anchor=\"end\"");
  }

  const double group_width = chart.groups.empty() ? 0 : plot_width / double(chart.groups.size());
  const double bar_width =
      chart.series.empty() ? 0 : group_width * 0.84 / double(chart.series.size());
  for (std::size_t g = 0; g < chart.groups.size(); ++g) {
    const double left = kLeft + group_width * double(g);
    svg += Text(left + group_width / 2, base + 16, chart.groups[g], " text-anchor=\"middle\"");
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
      const double value = chart.series[s].values[g];
      const double h = kPlotHeight * value / top;
      const double x = left + group_width * 0.08 + bar_width * double(s);
      svg += "<rect class=\"bar\" x=\"" + Number("%.1f", x) + "\" y=\"" +
             Number("%.1f", base - h) + "\" width=\"" + Number("%.1f", bar_width * 0.9) +
             "\" height=\"" + Number("%.1f", h) + "\" fill=\"" +
             kPalette[s % std::size(kPalette)] + "\"><title>" +
             Escaped(chart.series[s].name + ", " + chart.groups[g] + ": ") +
             Number("%.2f", value) + "</title></rect>\n" +
             Text(x + bar_width * 0.45, base - h - 3, Number("%.1f", value),
                  " text-anchor=\"middle\" font-size=\"8\"");
    }
  }

  for (std::size_t s = 0; s < chart.series.size(); ++s) {
    const double x = kLeft + plot_width / kLegendColumns * double(s % kLegendColumns);
    const double y = base + 34 + kLegendRow * double(s / kLegendColumns);
    svg += "<rect x=\"" + Number("%.1f", x) + "\" y=\"" + Number("%.1f", y - 10) +
           "\" width=\"12\" height=\"12\" fill=\"" + kPalette[s % std::size(kPalette)] +
           "\"/>\n" + Text(x + 18, y, chart.series[s].name);
  }
  return svg + "</svg>\n";
}

std::vector<Settings> ChartedSettings() {
  std::vector<Settings> shown;
  for (int mode = kMode.minimum; mode <= kMode.maximum; ++mode) {
    shown.push_back(Settings{.Mode = mode});
    shown.push_back(Settings{.Noise = 200, .Mode = mode});
    shown.push_back(Settings{.ThresholdY = 10, .Noise = 200, .Margin = 4, .Mode = mode});
  }
  return shown;
}

BarChart SweepErrorChart(const std::vector<ClassSweep>& results,
                         const std::vector<Settings>& shown) {
  BarChart chart{"Chroma error on detail per scene class (mean of NTSC and PAL, 4:2:2 and 4:2:0)",
                 "mean absolute chroma error (8-bit)", {}, {}};
  if (results.empty()) return chart;
  std::vector<std::vector<std::size_t>> classes;  // per group, its blocks' indices in results
  for (const SceneClass scene : kSceneClasses) {
    std::vector<std::size_t> blocks;
    for (std::size_t i = 0; i < results.size(); ++i) {
      if (results[i].scene == scene) blocks.push_back(i);
    }
    if (blocks.empty()) continue;
    chart.groups.push_back(SceneClassName(scene));
    classes.push_back(std::move(blocks));
  }
  // Adds a series whose value per group is the mean of `figure(i)` over the group's blocks.
  const auto add = [&](std::string name, const auto& figure) {
    BarSeries series{std::move(name), {}};
    for (const std::vector<std::size_t>& blocks : classes) {
      double sum = 0.0;
      for (const std::size_t i : blocks) sum += figure(i);
      series.values.push_back(sum / double(blocks.size()));
    }
    chart.series.push_back(std::move(series));
  };
  for (std::size_t k = 0; k < std::size(kBaselines); ++k) {
    add(BaselineName(kBaselines[k]),
        [&, k](std::size_t i) { return results[i].baselines[k].after.detailed; });
  }
  const std::vector<SweepRow>& rows = results.front().rows;  // every block ran the same grid
  const auto charted = [&](const SweepRow& row) {
    return std::find(shown.begin(), shown.end(), row.settings) != shown.end();
  };
  const bool any = std::any_of(rows.begin(), rows.end(), charted);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (any && !charted(rows[r])) continue;
    const bool defaults = rows[r].settings == Settings{.Mode = rows[r].settings.Mode};
    add(SettingsName(rows[r].settings) + (defaults ? " (defaults)" : ""),
        [&, r](std::size_t i) { return results[i].rows[r].judgement.after.detailed; });
  }
  return chart;
}

}  // namespace velmire::lab
