// Judges a filter's output on the demo clip against the clean scene behind it: the chroma
// error before and after filtering and the share of chroma samples the filter changed, each
// over the whole frame and apart for the detailed and the flat areas. Frames add up one by one.
#pragma once

#include <cstdint>

#include "lab/sweep/chroma_metrics.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {

struct DemoJudgement {
  ChangedShare changed;
  ChromaError before, after;
};

class DemoJudgementTally {
 public:
  // `detail_mask` has one entry per chroma sample, non-zero where the scene has fine detail.
  void Add(const StreamFrameView& input, const StreamFrameView& output, const StreamFrameView& clean,
           const std::uint8_t* detail_mask);
  DemoJudgement Result() const;

 private:
  ChangedShareTally changed_;
  ChromaErrorTally before_, after_;
};

}  // namespace velmire::lab
