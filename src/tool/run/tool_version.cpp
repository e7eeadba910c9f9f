#include "tool/run/tool_version.h"

namespace velmire::cli {

// VELMIRE_VERSION is defined for this file alone, from the CMake project's version.
std::string_view ToolVersion() { return VELMIRE_VERSION; }

}  // namespace velmire::cli
