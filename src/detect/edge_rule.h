// The edge rule shared by both mask layouts: a luma sample lies on a steep ramp when its two
// neighbours differ by more than the threshold and it lies strictly between them.
#pragma once

#include <cstdint>

namespace velmire {

// True when |left - right| > thresholdY and left < centre < right or left > centre > right.
// Peaks, dips and samples equal to a neighbour never qualify, so thresholds 0 and 1 agree.
inline bool IsEdgeSample(uint8_t left, uint8_t centre, uint8_t right, int thresholdY) {
  const int rise = int{right} - int{left};
  const int spread = rise < 0 ? -rise : rise;
  if (spread <= thresholdY) return false;
  return (left < centre && centre < right) || (left > centre && centre > right);
}

}  // namespace velmire
