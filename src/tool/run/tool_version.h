// The tool's version, as the build's project version gives it.
#pragma once

#include <string_view>

namespace velmire::cli {

std::string_view ToolVersion();

}  // namespace velmire::cli
