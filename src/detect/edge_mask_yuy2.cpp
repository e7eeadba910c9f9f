// Row walk of the YUY2 edge mask: groups of two macropixels from macropixel 4 on.
#include "detect/edge_group_flags.h"
#include "detect/edge_mask.h"
#include "detect/mask_widening.h"

namespace velmire {

namespace {
constexpr int kBytesPerMacropixel = 4;
constexpr int kFirstGroupByte = 16;    // macropixel 4, luma sample 8
constexpr int kGroupBytes = 8;         // two macropixels
constexpr int kTrailingBytes = 16;     // the walk stops this far before the row's end
}  // namespace

void BuildEdgeMaskYUY2Portable(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                               int margin) {
  if (rowSize <= 2 * kTrailingBytes) return;
  // A trailing half macropixel (rowSize not a multiple of 4) is no chroma position: never marked.
  const int macropixels = rowSize / kBytesPerMacropixel;
  for (int g = kFirstGroupByte; g < rowSize - kTrailingBytes; g += kGroupBytes) {
    const unsigned flags = EdgeFlagsYUY2Group(srcRow + g, thresholdY);
    if (flags == 0) continue;
    const int first = g / kBytesPerMacropixel;
    for (int k = 0; k < 2; ++k) {
      if (flags & (1u << k)) MarkWidened(mask, macropixels, kBytesPerMacropixel, first + k, margin);
    }
  }
}

}  // namespace velmire
