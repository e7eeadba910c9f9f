#include "lab/sweep/sweep_summary.h"

#include <cstdio>
#include <string>

#include "lab/sweep/sweep_baselines.h"

namespace velmire::lab {
namespace {

const char* LayoutName(ChromaLayout layout) {
  return layout == ChromaLayout::k422 ? "4:2:2" : "4:2:0";
}

std::string SettingsName(const Settings& s) {
  return std::to_string(s.ThresholdY) + ":" + std::to_string(s.Noise) + ":" +
         std::to_string(s.Margin) + ":" + std::to_string(s.Mode);
}

std::string Figure(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// The index of the defaults in the grid, or the grid's size when it does not have them.
std::size_t DefaultsRow(const ClassSweep& block) {
  for (std::size_t r = 0; r < block.rows.size(); ++r) {
    if (block.rows[r].settings == Settings{}) return r;
  }
  return block.rows.size();
}

double MeanDetailError(const std::vector<const ClassSweep*>& blocks, std::size_t row) {
  double sum = 0.0;
  for (const ClassSweep* b : blocks) sum += b->rows[row].judgement.after.detailed;
  return sum / double(blocks.size());
}

double MeanBaseline(const std::vector<const ClassSweep*>& blocks, std::size_t baseline) {
  double sum = 0.0;
  for (const ClassSweep* b : blocks) sum += b->baselines[baseline].after.detailed;
  return sum / double(blocks.size());
}

}  // namespace

std::size_t BestRow(const std::vector<const ClassSweep*>& blocks, bool flat_alone) {
  const std::size_t rows = blocks.front()->rows.size();
  std::size_t best = rows;
  for (std::size_t r = 0; r < rows; ++r) {
    bool counts = true;
    for (const ClassSweep* b : blocks) {
      counts = counts && (!flat_alone || b->rows[r].judgement.changed.flat <= kFlatAreasLeftAlone);
    }
    if (counts && (best == rows || MeanDetailError(blocks, r) < MeanDetailError(blocks, best))) {
      best = r;
    }
  }
  return best;
}

void PrintSweepSummary(const std::vector<ClassSweep>& results, std::ostream& out) {
  out << "Chroma error on detail per scene class, standard and layout; the best setting is the "
         "one of the grid with the lowest error there.\n\n"
      << "| Scene | Standard | Layout | Unfiltered | 3-frame average | Vertical 1-2-1 "
         "| Gated average (gate) | Defaults 30:60:1:0 | Best setting | Best's error "
         "| Best's error away from detail | Best's changed elsewhere |\n"
      << "|---|---|---|---:|---:|---:|---:|---:|---|---:|---:|---:|\n";
  for (const ClassSweep& block : results) {
    const std::size_t best = BestRow({&block}), defaults = DefaultsRow(block);
    const SweepRow& b = block.rows[best];
    out << "| " << SceneClassName(block.scene) << " | " << StandardName(block.standard) << " | "
        << LayoutName(block.layout);
    for (std::size_t k = 0; k < block.baselines.size(); ++k) {
      out << " | " << Figure(block.baselines[k].after.detailed);
      if (kBaselines[k] == Baseline::kGatedAverage) out << " (" << block.gated_average_gate << ")";
    }
    out << " | "
        << (defaults < block.rows.size()
                ? Figure(block.rows[defaults].judgement.after.detailed)
                : std::string("-"))
        << " | " << SettingsName(b.settings) << " | " << Figure(b.judgement.after.detailed)
        << " | " << Figure(b.judgement.after.flat) << " | "
        << Figure(100.0 * b.judgement.changed.flat) << "% |\n";
  }

  out << "\nPer scene class, means of the chroma error on detail over both standards and "
         "layouts. Best: the lowest; best leaving flat areas alone: the lowest among the "
         "settings that change at most "
      << Figure(100.0 * kFlatAreasLeftAlone) << "% of the chroma away from detail in each.\n\n"
      << "| Scene | Best setting | Its error | Best leaving flat areas alone | Its error "
         "| Defaults' | Unfiltered | 3-frame average | Vertical 1-2-1 | Gated average |\n"
      << "|---|---|---:|---|---:|---:|---:|---:|---:|---:|\n";
  for (const SceneClass scene : kSceneClasses) {
    std::vector<const ClassSweep*> blocks;
    for (const ClassSweep& block : results) {
      if (block.scene == scene) blocks.push_back(&block);
    }
    if (blocks.empty()) continue;
    const std::size_t rows = blocks.front()->rows.size();
    const auto setting = [&](std::size_t r) {
      return r < rows ? SettingsName(blocks.front()->rows[r].settings) : std::string("-");
    };
    const auto error = [&](std::size_t r) {
      return r < rows ? Figure(MeanDetailError(blocks, r)) : std::string("-");
    };
    const std::size_t best = BestRow(blocks), careful = BestRow(blocks, true);
    const std::size_t defaults = DefaultsRow(*blocks.front());
    out << "| " << SceneClassName(scene) << " | " << setting(best) << " | " << error(best)
        << " | " << setting(careful) << " | " << error(careful) << " | " << error(defaults);
    for (std::size_t k = 0; k < std::size(kBaselines); ++k) {
      out << " | " << Figure(MeanBaseline(blocks, k));
    }
    out << " |\n";
  }
}

}  // namespace velmire::lab
