// Both mask routines against the plain model, on rows of every width remainder held in buffers
// of exactly the row's size, so that any read or write past the end trips AddressSanitizer.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "edge_mask_harness.h"
#include "naive_edge_mask.h"

namespace velmire::test {
namespace {

// Raw row widths in bytes: every remainder mod 16 many times over, plus frame-sized rows.
std::vector<int> RowWidths(Layout layout) {
  std::vector<int> widths = Range(0, layout == Layout::kYUY2 ? 200 : 120);
  for (int pixels : {716, 718, 720, 722, 724, 726}) widths.push_back(2 * pixels);
  return widths;
}

void ExpectMatchesModel(Layout layout, const std::vector<uint8_t>& row,
                        const std::vector<uint8_t>& initialMask, int thresholdY, int margin) {
  // Fresh, exactly sized copies: the routine gets no slack on either buffer.
  const std::vector<uint8_t> exactRow(row);
  std::vector<uint8_t> mask(initialMask);
  RunMask(layout, exactRow, mask, thresholdY, margin);
  ASSERT_EQ(mask, NaiveEdgeMask(layout, exactRow, initialMask, thresholdY, margin))
      << LayoutName(layout) << " row of " << row.size() << " bytes, threshold " << thresholdY
      << ", margin " << margin;
}

// A steady luma ramp with threshold 0 flags every examined position, so widening reaches as far
// past the walk's end as it ever can.
TEST(EdgeMaskReference, RampRowsStayInsideExactBuffersAtEveryWidth) {
  for (Layout layout : kLayouts) {
    for (int width : RowWidths(layout)) {
      std::vector<uint8_t> row(width);
      for (int b = 0; b < width; ++b) {
        const int lumaSample = layout == Layout::kYUY2 ? b / 2 : b;
        const bool isChroma = layout == Layout::kYUY2 && b % 2 == 1;
        row[b] = isChroma ? 0xFF : static_cast<uint8_t>(lumaSample % 200);
      }
      const std::vector<uint8_t> cleared(MaskSizeFor(layout, row.size()), 0x00);
      for (int margin = 0; margin <= 4; ++margin) {
        ExpectMatchesModel(layout, row, cleared, 0, margin);
      }
    }
  }
}

TEST(EdgeMaskReference, RandomRowsMatchTheModel) {
  std::mt19937 random(2024);
  auto byte = [&] { return static_cast<uint8_t>(random()); };
  for (Layout layout : kLayouts) {
    for (int width : RowWidths(layout)) {
      std::vector<uint8_t> row(width);
      for (auto& b : row) b = byte();
      // Some masks arrive cleared, others with entries already set that must survive.
      std::vector<uint8_t> initial(MaskSizeFor(layout, row.size()), 0x00);
      if (width % 3 == 0) {
        for (auto& entry : initial) entry = (random() % 8 == 0) ? 0xFF : 0x00;
      }
      for (int threshold : {0, 1, 2, 30, 100, 200, 254, 255}) {
        for (int margin = 0; margin <= 4; ++margin) {
          ExpectMatchesModel(layout, row, initial, threshold, margin);
        }
      }
    }
  }
}

}  // namespace
}  // namespace velmire::test
