// The result tables of the settings sweep, printed as Markdown so that they can be pasted into
// documentation as they are.
#pragma once

#include <ostream>
#include <vector>

#include "lab/sweep/demo_judgement.h"
#include "lab/clips/scene_classes.h"
#include "base/settings.h"
#include "lab/clips/video_standard.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {

struct SweepRow {
  Settings settings;
  DemoJudgement judgement;
  double frames_per_second = 0.0;
};

// What the sweep found on one scene class in one standard and layout.
struct ClassSweep {
  SceneClass scene = SceneClass::kStill;
  VideoStandard standard = VideoStandard::kNtsc;
  ChromaLayout layout = ChromaLayout::k420;
  std::vector<DemoJudgement> baselines;  // one per entry of kBaselines, in that order
  int gated_average_gate = 0;            // the gate of the gated average's judgement
  std::vector<SweepRow> rows;            // one per combination of settings, in grid order
};

// One table for the blocks given: per block the baselines, then the filter's rows. Columns:
// scene class, standard, correction, the settings (blank for a baseline but the gated
// average's gate), the chroma error after correction on the detailed areas, away from them
// and on the whole frame, the share of chroma samples
// changed on the detailed areas and elsewhere, and the filter's speed.
void PrintSweepTable(const std::vector<const ClassSweep*>& blocks, std::ostream& out);

}  // namespace velmire::lab
