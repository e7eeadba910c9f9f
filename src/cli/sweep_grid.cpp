#include "cli/sweep_grid.h"

#include <optional>
#include <string_view>
#include <vector>

#include "cli/cli_error.h"
#include "cli/integer_parse.h"

namespace velmire::cli {
namespace {

constexpr int kMaxThresholdY = 255;
constexpr int kMaxNoise = 255;
constexpr int kMaxMargin = 4;

[[noreturn]] void Refuse(const std::string& entry, const std::string& why) {
  throw UsageError("option --sweep-grid needs T:N:M[:MODE][,...] (ThresholdY 0..255, Noise "
                   "0..255, Margin 0..4, MODE 0); '" + entry + "' " + why);
}

std::int64_t ParseValue(std::string_view text, const std::string& entry) {
  const std::optional<std::int64_t> n = ParseInteger(text);
  if (!n) Refuse(entry, "is not made of integers");
  return *n;
}

int InRange(std::int64_t value, int max, const std::string& entry) {
  if (value < 0 || value > max) Refuse(entry, "is out of range");
  return static_cast<int>(value);
}

ScriptSettings ParseEntry(const std::string& entry) {
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
  std::vector<std::int64_t> values;
  for (std::string_view field : fields) values.push_back(ParseValue(field, entry));
  ScriptSettings s;
  s.threshold_y = InRange(values[0], kMaxThresholdY, entry);
  s.noise = InRange(values[1], kMaxNoise, entry);
  s.margin = InRange(values[2], kMaxMargin, entry);
  if (values.size() == 4 && values[3] != 0) {
    Refuse(entry, "asks for mode " + std::to_string(values[3]) +
                      ", which this version does not have (only mode 0)");
  }
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
