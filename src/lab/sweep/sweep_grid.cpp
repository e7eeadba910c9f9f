#include "lab/sweep/sweep_grid.h"

#include <optional>
#include <string_view>
#include <vector>

#include "lab/clips/tool_names.h"

namespace velmire::lab {
namespace {

std::string Range(const IntegerSetting& s) {
  return std::string(s.name) + " " + std::to_string(s.minimum) + ".." + std::to_string(s.maximum);
}

[[noreturn]] void Refuse(const std::string& entry, const std::string& why) {
  throw UsageError("option --sweep-grid needs T:N:M[:MODE][,...] (" + Range(kThresholdY) + ", " +
                   Range(kNoise) + ", " + Range(kMargin) + ", " + Range(kMode) + "); '" + entry +
                   "' " + why);
}

int ParseValue(std::string_view text, const IntegerSetting& setting, const std::string& entry) {
  const std::optional<std::int64_t> n = ParseInteger(text);
  if (!n) Refuse(entry, "is not made of integers");
  if (*n < setting.minimum || *n > setting.maximum) Refuse(entry, "is out of range");
  return static_cast<int>(*n);
}

Settings ParseEntry(const std::string& entry) {
  std::vector<std::string_view> fields;
  const std::string_view all(entry);
  for (std::size_t start = 0;;) {
    const std::size_t colon = all.find(':', start);
    fields.push_back(all.substr(start, colon - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (fields.size() != 3 && fields.size() != 4) {
    Refuse(entry, "is not three or four values separated by ':'");
  }
  Settings s;
  s.ThresholdY = ParseValue(fields[0], kThresholdY, entry);
  s.Noise = ParseValue(fields[1], kNoise, entry);
  s.Margin = ParseValue(fields[2], kMargin, entry);
  if (fields.size() == 4) s.Mode = ParseValue(fields[3], kMode, entry);
  return s;
}

}  // namespace

std::vector<Settings> DefaultSweepGrid() {
  // ThresholdY, Noise, Margin; Debug stays off.
  std::vector<Settings> grid = {
      Settings{},                                          // the defaults
      {10, 60, 1}, {15, 60, 1}, {20, 60, 1}, {45, 60, 1},  // ThresholdY alone
      {30, 30, 1}, {30, 120, 1}, {30, 200, 1},             // Noise alone
      {30, 60, 0}, {30, 60, 2}, {30, 60, 4},               // Margin alone
      // Two or three settings loosened together, then the strictest and the loosest corner.
      {20, 120, 1}, {30, 120, 2}, {15, 120, 2}, {20, 200, 2}, {45, 30, 0}, {10, 200, 4},
  };
  // Every combination again in the stronger mode, so each mode is seen at the same settings.
  const std::size_t modeZero = grid.size();
  for (std::size_t i = 0; i < modeZero; ++i) {
    Settings stronger = grid[i];
    stronger.Mode = 1;
    grid.push_back(stronger);
  }
  return grid;
}

std::vector<Settings> ParseSweepGrid(const std::string& text) {
  std::vector<Settings> grid;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    grid.push_back(ParseEntry(text.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return grid;
}

}  // namespace velmire::lab
