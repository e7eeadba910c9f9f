#include "tool/y4m/integer_parse.h"

#include <charconv>
#include <limits>

namespace velmire::cli {

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  std::int64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error == std::errc::result_out_of_range) {
    return negative ? std::numeric_limits<std::int64_t>::min()
                    : std::numeric_limits<std::int64_t>::max();
  }
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -magnitude : magnitude;
}

}  // namespace velmire::cli
