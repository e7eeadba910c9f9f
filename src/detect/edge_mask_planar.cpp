// Row walk of the planar edge mask: groups of four chroma columns from column 4 on, examining
// the luma row given (the upper of the chroma row's two luma rows).
#include "detect/edge_group_flags.h"
#include "detect/edge_mask.h"
#include "detect/mask_widening.h"

namespace velmire {

namespace {
constexpr int kFirstGroupColumn = 4;   // luma sample 8
constexpr int kGroupColumns = 4;
constexpr int kTrailingColumns = 4;    // the walk stops this far before the row's end

template <typename Sample>
void BuildEdgeMaskPlanarOf(const Sample* lumaRow, uint8_t* mask, int chromaRowSize,
                           int thresholdY, int margin) {
  if (chromaRowSize <= 2 * kTrailingColumns) return;
  for (int x = kFirstGroupColumn; x < chromaRowSize - kTrailingColumns; x += kGroupColumns) {
    const unsigned flags = EdgeFlagsPlanarGroup(lumaRow + 2 * x, thresholdY);
    if (flags == 0) continue;
    for (int k = 0; k < kGroupColumns; ++k) {
      if (flags & (1u << k)) MarkWidened(mask, chromaRowSize, 1, x + k, margin);
    }
  }
}

}  // namespace

void BuildEdgeMaskPlanarPortable(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                                 int thresholdY, int margin) {
  BuildEdgeMaskPlanarOf(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

void BuildEdgeMaskPlanar16Portable(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                                   int thresholdY, int margin) {
  BuildEdgeMaskPlanarOf(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

}  // namespace velmire
