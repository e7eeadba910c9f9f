// Figures that show what a filter did to a clip's chroma: the error against a clean reference
// and the share of chroma samples changed, each inside and outside the detailed areas.
// The tallies add up frame by frame so a whole clip gives one figure. They read 8-bit frames
// (the demo's clips).
#pragma once

#include <cstdint>

#include "lab/clips/tool_names.h"

namespace velmire::lab {

// Mean absolute difference of the U and V samples, over all samples and over the detailed
// and the flat (not detailed) ones. 0 where a part has no samples.
struct ChromaError {
  double all = 0.0;
  double detailed = 0.0;
  double flat = 0.0;
};

class ChromaErrorTally {
 public:
  // `mask` has one entry per chroma sample (the same for U and V), non-zero for detailed.
  void Add(const StreamFrameView& frame, const StreamFrameView& reference, const std::uint8_t* mask);
  ChromaError Mean() const;

 private:
  std::uint64_t sum_detailed_ = 0, count_detailed_ = 0;
  std::uint64_t sum_flat_ = 0, count_flat_ = 0;
};

// Share (0..1) of chroma samples (U and V counted apart) that differ between two frames.
struct ChangedShare {
  double all = 0.0;
  double detailed = 0.0;
  double flat = 0.0;
};

class ChangedShareTally {
 public:
  void Add(const StreamFrameView& before, const StreamFrameView& after, const std::uint8_t* mask);
  ChangedShare Share() const;

 private:
  std::uint64_t changed_detailed_ = 0, count_detailed_ = 0;
  std::uint64_t changed_flat_ = 0, count_flat_ = 0;
};

}  // namespace velmire::lab
