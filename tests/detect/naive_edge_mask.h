// A deliberately plain model of the edge mask, written position by position from the rules,
// to compare the mask routines against.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "edge_mask_harness.h"

namespace velmire::test {

// Luma sample s of a raw row of either layout.
inline int LumaSample(Layout layout, const std::vector<uint8_t>& row, int s) {
  return layout == Layout::kYUY2 ? row[2 * s] : row[s];
}

// Whether the walk of the layout visits chroma position p of a row of `rowBytes` bytes.
inline bool IsExamined(Layout layout, int rowBytes, int p) {
  if (p < 4) return false;
  if (layout == Layout::kYUY2) {
    const int pairFirstByte = 4 * (p - p % 2);
    return rowBytes > 32 && pairFirstByte < rowBytes - 16;
  }
  const int chromaRowSize = rowBytes / 2;
  const int groupFirstColumn = p - p % 4;
  return chromaRowSize > 8 && groupFirstColumn < chromaRowSize - 4;
}

// `mask` as the routine should leave it: its old entries, plus 0xFF on every position lying
// within `margin` positions of a flagged one. A trailing half macropixel of a YUY2 row is not a
// position and is left alone.
inline std::vector<uint8_t> NaiveEdgeMask(Layout layout, const std::vector<uint8_t>& row,
                                          std::vector<uint8_t> mask, int thresholdY,
                                          int margin) {
  const int rowBytes = static_cast<int>(row.size());
  const int step = BytesPerPosition(layout);
  const int positions = static_cast<int>(mask.size()) / step;

  std::vector<bool> flagged(positions, false);
  for (int p = 0; p < positions; ++p) {
    if (!IsExamined(layout, rowBytes, p)) continue;
    for (int s = 2 * p; s <= 2 * p + 1; ++s) {
      const int left = LumaSample(layout, row, s - 1);
      const int centre = LumaSample(layout, row, s);
      const int right = LumaSample(layout, row, s + 1);
      const bool between = (left < centre && centre < right) || (left > centre && centre > right);
      if (std::abs(left - right) > thresholdY && between) flagged[p] = true;
    }
  }

  for (int t = 0; t < positions; ++t) {
    for (int p = t - margin; p <= t + margin; ++p) {
      if (p < 0 || p >= positions || !flagged[p]) continue;
      for (int b = 0; b < step; ++b) mask[t * step + b] = 0xFF;
    }
  }
  return mask;
}

}  // namespace velmire::test
