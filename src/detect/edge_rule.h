// The edge rule shared by both mask layouts: a luma sample lies on a steep ramp when its two
// neighbours differ by more than the threshold and it lies strictly between them.
#pragma once

#include <cstdint>

namespace velmire {

// True when |left - right| > thresholdY and left < centre < right or left > centre > right.
// Peaks, dips and samples equal to a neighbour never qualify, so thresholds 0 and 1 agree.
// Samples are 8-bit bytes or 16-bit values; the threshold is in the samples' own units.
template <typename Sample>
inline bool IsEdgeSample(Sample left, Sample centre, Sample right, int thresholdY) {
  const int rise = int{right} - int{left};
  const int spread = rise < 0 ? -rise : rise;
  if (spread <= thresholdY) return false;
  return (left < centre && centre < right) || (left > centre && centre > right);
}

}  // namespace velmire
