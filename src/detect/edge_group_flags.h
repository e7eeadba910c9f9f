// Per-group arithmetic of the mask row walks: which chroma positions of one group hold an
// edge sample. Bit k of the result stands for the group's k-th position. These are the parts a
// vector version replaces; the row walks around them stay the same.
#pragma once

#include <cstdint>

#include "detect/edge_rule.h"

namespace velmire {

// YUY2 group of two macropixels starting at `group` (a byte offset of at least 2 into the row):
// luma samples at group[0], [2], [4], [6], neighbours two bytes away. Reads group[-2 .. 8].
// Bit 0: macropixel of group[0..3]; bit 1: macropixel of group[4..7].
inline unsigned EdgeFlagsYUY2Group(const uint8_t* group, int thresholdY) {
  unsigned flags = 0;
  for (int k = 0; k < 4; ++k) {
    const uint8_t* centre = group + 2 * k;
    if (IsEdgeSample(centre[-2], centre[0], centre[2], thresholdY)) flags |= 1u << (k / 2);
  }
  return flags;
}

// The first `columns` chroma columns whose luma starts at `group`: bit k when luma sample
// group[2k] or group[2k+1] is an edge sample. Reads group[-1 .. 2*columns].
template <typename Sample>
inline unsigned EdgeFlagsPlanarColumns(const Sample* group, int columns, int thresholdY) {
  unsigned flags = 0;
  for (int k = 0; k < 2 * columns; ++k) {
    const Sample* centre = group + k;
    if (IsEdgeSample(centre[-1], centre[0], centre[1], thresholdY)) flags |= 1u << (k / 2);
  }
  return flags;
}

// Planar group of four chroma columns whose luma starts at `group` (luma sample 2x): samples
// group[0 .. 7], neighbours one byte away. Reads group[-1 .. 8].
// Bit k: column x+k, covering samples group[2k] and group[2k+1].
template <typename Sample>
inline unsigned EdgeFlagsPlanarGroup(const Sample* group, int thresholdY) {
  return EdgeFlagsPlanarColumns(group, 4, thresholdY);
}

}  // namespace velmire
