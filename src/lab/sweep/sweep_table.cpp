#include "lab/sweep/sweep_table.h"

#include <cstdio>
#include <string>

#include "lab/sweep/sweep_baselines.h"

namespace velmire::lab {
namespace {

void PrintRow(const ClassSweep& block, const char* correction, const char* settings,
              const DemoJudgement& j, const char* fps, std::ostream& out) {
  char line[300];
  std::snprintf(line, sizeof line,
                "| %s | %s | %s | %s | %.2f | %.2f | %.2f | %.2f%% | %.2f%% | %s |\n",
                SceneClassName(block.scene), StandardName(block.standard), correction, settings,
                j.after.detailed, j.after.flat, j.after.all, 100.0 * j.changed.detailed,
                100.0 * j.changed.flat, fps);
  out << line;
}

}  // namespace

void PrintSweepTable(const std::vector<const ClassSweep*>& blocks, std::ostream& out) {
  out << "| Scene | Standard | Correction | ThresholdY | Noise | Margin | Mode "
         "| Chroma error, detail | Chroma error, away from detail | Chroma error, whole frame "
         "| Changed, detail | Changed, elsewhere | fps |\n"
      << "|---|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
  for (const ClassSweep* block : blocks) {
    for (std::size_t b = 0; b < block->baselines.size(); ++b) {
      std::string name = BaselineName(kBaselines[b]);
      if (kBaselines[b] == Baseline::kGatedAverage) {
        name += " (gate " + std::to_string(block->gated_average_gate) + ")";
      }
      PrintRow(*block, name.c_str(), " | | | ", block->baselines[b], "", out);
    }
    for (const SweepRow& row : block->rows) {
      const Settings& s = row.settings;
      char settings[80], fps[32];
      std::snprintf(settings, sizeof settings, "%d | %d | %d | %d", s.ThresholdY, s.Noise,
                    s.Margin, s.Mode);
      std::snprintf(fps, sizeof fps, "%.0f", row.frames_per_second);
      PrintRow(*block, "Velmire", settings, row.judgement, fps, out);
    }
  }
}

}  // namespace velmire::lab
