// The combinations of filter settings that the settings sweep runs: a built-in grid, or one
// given on the command line as T:N:M[:MODE],... (ThresholdY, Noise, Margin, correction mode).
#pragma once

#include <string>
#include <vector>

#include "base/settings.h"

namespace velmire::lab {

// The built-in grid: the defaults first, then each setting moved on its own, then a few
// combinations towards either end.
std::vector<Settings> DefaultSweepGrid();

// Parses a grid given on the command line. Values must lie in the ranges the filter works
// with (ThresholdY and Noise 0..255, Margin 0..4), so that each row names what the filter
// really used; the mode, when given, must be one there is. Throws UsageError with
// one line.
std::vector<Settings> ParseSweepGrid(const std::string& text);

}  // namespace velmire::lab
