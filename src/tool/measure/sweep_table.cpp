#include "tool/measure/sweep_table.h"

#include <cstdio>

namespace velmire::cli {

void PrintSweepTable(const std::vector<SweepRow>& rows, std::ostream& out) {
  out << "| ThresholdY | Noise | Margin | Chroma error, detail | Chroma error, whole frame "
         "| Changed, detail | Changed, elsewhere | fps |\n"
      << "|---:|---:|---:|---:|---:|---:|---:|---:|\n";
  for (const SweepRow& row : rows) {
    const Settings& s = row.settings;
    const DemoJudgement& j = row.judgement;
    char line[200];
    std::snprintf(line, sizeof line, "| %d | %d | %d | %.2f | %.2f | %.2f%% | %.2f%% | %.0f |\n",
                  s.ThresholdY, s.Noise, s.Margin, j.after.detailed, j.after.all,
                  100.0 * j.changed.detailed, 100.0 * j.changed.flat, row.frames_per_second);
    out << line;
  }
}

}  // namespace velmire::cli
