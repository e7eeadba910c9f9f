#include "cli/sweep_grid.h"

#include <optional>
#include <string_view>

#include "cli/cli_error.h"
#include "cli/integer_parse.h"

namespace velmire::cli {
namespace {

constexpr int kMaxThresholdY = 255;
constexpr int kMaxNoise = 255;
constexpr int kMaxMargin = 4;

[[noreturn]] void Refuse(const std::string& entry, const std::string& why) {
  throw UsageError("option --sweep-grid needs T:N:M[,T:N:M...] (ThresholdY 0..255, Noise "
                   "0..255, Margin 0..4); '" + entry + "' " + why);
}

int ParseValue(std::string_view text, int max, const std::string& entry) {
  const std::optional<std::int64_t> n = ParseInteger(text);
  if (!n) Refuse(entry, "is not three integers");
  if (*n < 0 || *n > max) Refuse(entry, "is out of range");
  return static_cast<int>(*n);
}

ScriptSettings ParseEntry(const std::string& entry) {
  const std::size_t first = entry.find(':');
  const std::size_t second = first == std::string::npos ? first : entry.find(':', first + 1);
  if (second == std::string::npos || entry.find(':', second + 1) != std::string::npos) {
    Refuse(entry, "is not three values separated by ':'");
  }
  const std::string_view all(entry);
  ScriptSettings s;
  s.threshold_y = ParseValue(all.substr(0, first), kMaxThresholdY, entry);
  s.noise = ParseValue(all.substr(first + 1, second - first - 1), kMaxNoise, entry);
  s.margin = ParseValue(all.substr(second + 1), kMaxMargin, entry);
  return s;
}

}  // namespace

std::vector<ScriptSettings> DefaultSweepGrid() {
  // ThresholdY, Noise, Margin; Debug stays off.
  return {
      {30, 60, 1},                                         // the defaults
      {10, 60, 1}, {15, 60, 1}, {20, 60, 1}, {45, 60, 1},  // ThresholdY alone
      {30, 30, 1}, {30, 120, 1}, {30, 200, 1},             // Noise alone
      {30, 60, 0}, {30, 60, 2}, {30, 60, 4},               // Margin alone
      // Two or three settings loosened together, then the strictest and the loosest corner.
      {20, 120, 1}, {30, 120, 2}, {15, 120, 2}, {20, 200, 2}, {45, 30, 0}, {10, 200, 4},
  };
}

std::vector<ScriptSettings> ParseSweepGrid(const std::string& text) {
  std::vector<ScriptSettings> grid;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    grid.push_back(ParseEntry(text.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return grid;
}

}  // namespace velmire::cli
