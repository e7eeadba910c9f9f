// Helpers shared by the edge-mask tests: building rows of either layout from luma samples and
// running the portable mask routines on exactly sized buffers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "detect/edge_mask.h"

namespace velmire::test {

enum class Layout { kYUY2, kPlanar };
inline constexpr Layout kLayouts[] = {Layout::kYUY2, Layout::kPlanar};

inline const char* LayoutName(Layout layout) {
  return layout == Layout::kYUY2 ? "YUY2" : "planar";
}

// Bytes of one mask entry's chroma position and mask length for a raw row of `rowBytes`.
inline int BytesPerPosition(Layout layout) { return layout == Layout::kYUY2 ? 4 : 1; }
inline size_t MaskSizeFor(Layout layout, size_t rowBytes) {
  return layout == Layout::kYUY2 ? rowBytes : rowBytes / 2;
}

// The raw row holding `luma`: planar takes the samples as they are; YUY2 interleaves them with
// chroma bytes given by `chromaAt(index of the chroma byte)`.
template <typename ChromaFn>
std::vector<uint8_t> RowFromLuma(Layout layout, const std::vector<uint8_t>& luma,
                                 ChromaFn chromaAt) {
  if (layout == Layout::kPlanar) return luma;
  std::vector<uint8_t> row(2 * luma.size());
  for (size_t s = 0; s < luma.size(); ++s) {
    row[2 * s] = luma[s];
    row[2 * s + 1] = chromaAt(s);
  }
  return row;
}

inline std::vector<uint8_t> RowFromLuma(Layout layout, const std::vector<uint8_t>& luma) {
  return RowFromLuma(layout, luma, [](size_t s) { return static_cast<uint8_t>(37 * s + 11); });
}

// Runs the layout's routine on `row` with `mask` (already exactly sized by the caller).
inline void RunMask(Layout layout, const std::vector<uint8_t>& row, std::vector<uint8_t>& mask,
                    int thresholdY, int margin) {
  const int width = static_cast<int>(mask.size());
  if (layout == Layout::kYUY2) {
    BuildEdgeMaskYUY2Portable(row.data(), mask.data(), width, thresholdY, margin);
  } else {
    BuildEdgeMaskPlanarPortable(row.data(), mask.data(), width, thresholdY, margin);
  }
}

// Mask of a row, one entry per chroma position (the four YUY2 entries of a macropixel are
// checked to be equal).
inline std::vector<uint8_t> PositionMask(Layout layout, const std::vector<uint8_t>& row,
                                         int thresholdY, int margin, uint8_t initial = 0x00) {
  std::vector<uint8_t> mask(MaskSizeFor(layout, row.size()), initial);
  RunMask(layout, row, mask, thresholdY, margin);
  const int step = BytesPerPosition(layout);
  std::vector<uint8_t> positions(mask.size() / step);
  for (size_t p = 0; p < positions.size(); ++p) {
    positions[p] = mask[p * step];
    for (int b = 1; b < step; ++b) {
      EXPECT_EQ(mask[p * step + b], positions[p]) << "macropixel " << p << " entries differ";
    }
  }
  return positions;
}

// Indices of the marked positions of the mask of a row given as luma samples.
inline std::vector<int> MarkedPositions(Layout layout, const std::vector<uint8_t>& luma,
                                        int thresholdY, int margin) {
  const std::vector<uint8_t> marks =
      PositionMask(layout, RowFromLuma(layout, luma), thresholdY, margin);
  std::vector<int> marked;
  for (size_t p = 0; p < marks.size(); ++p) {
    EXPECT_TRUE(marks[p] == 0x00 || marks[p] == 0xFF) << "entry " << p;
    if (marks[p] != 0) marked.push_back(static_cast<int>(p));
  }
  return marked;
}

inline std::vector<int> Range(int first, int last) {
  std::vector<int> values;
  for (int v = first; v <= last; ++v) values.push_back(v);
  return values;
}

}  // namespace velmire::test
