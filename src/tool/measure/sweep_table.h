// The result table of the settings sweep, printed as a Markdown table so that it can be pasted
// into documentation as it is.
#pragma once

#include <ostream>
#include <vector>

#include "tool/measure/demo_judgement.h"
#include "base/settings.h"

namespace velmire::cli {

struct SweepRow {
  Settings settings;
  DemoJudgement judgement;
  double frames_per_second = 0.0;
};

// One line per row, in the order given: the settings, the chroma error after filtering on
// the detailed areas and on the whole frame, the share of chroma samples changed on the
// detailed areas and elsewhere, and the speed.
void PrintSweepTable(const std::vector<SweepRow>& rows, std::ostream& out);

}  // namespace velmire::cli
