// Strict integer parsing for command-line values.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmire::cli {

// An optional '+' or '-' followed by decimal digits and nothing else. Values beyond the range
// of int64_t saturate (they are integers, only large ones). Anything else: nullopt.
std::optional<std::int64_t> ParseInteger(std::string_view text);

}  // namespace velmire::cli
