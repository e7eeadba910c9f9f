// The processor's own name for itself, for the benchmark's header.
#pragma once

#include <string>

namespace velmire::bench {

std::string ProcessorName();

}  // namespace velmire::bench
