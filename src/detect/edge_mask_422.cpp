#include "detect/edge_mask_422.h"

#include <algorithm>
#include <cstring>

#include "detect/edge_group_flags.h"
#include "detect/mask_widening.h"

namespace velmire {

namespace {
constexpr int kFirstColumn = 4;
constexpr int kTrailingColumns = 4;

int CeilDiv(int a, int b) { return (a + b - 1) / b; }
}  // namespace

template <typename Sample>
void BuildEdgeMask422(EdgeMaskPlanarFnOf<Sample> planarMask, const Sample* lumaRow,
                      uint8_t* mask, int chromaWidth, int thresholdY, int margin) {
  if (chromaWidth <= 2 * kTrailingColumns) return;
  planarMask(lumaRow, mask, chromaWidth, thresholdY, margin);
  const int walked = chromaWidth - 2 * kTrailingColumns;
  const int end = kFirstColumn + 2 * CeilDiv(walked, 2);          // the packed walk's end
  const int planarEnd = kFirstColumn + 4 * CeilDiv(walked, 4);    // the planar walk's end
  if (planarEnd == end) return;
  // Columns end and end+1 were examined by the planar walk only. Every entry their marks could
  // reach is cleared and marked again from the columns before `end` that reach it.
  const int clearFrom = std::max(end - margin, 0);
  const int clearTo = std::min(end + 2 + margin, chromaWidth);
  std::memset(mask + clearFrom, 0, static_cast<size_t>(clearTo - clearFrom));
  for (int column = std::max(end - 2 * margin, kFirstColumn); column < end; ++column) {
    if (EdgeFlagsPlanarColumns(lumaRow + 2 * column, 1, thresholdY) != 0) {
      MarkWidened(mask, chromaWidth, 1, column, margin);
    }
  }
}

template void BuildEdgeMask422<uint8_t>(EdgeMaskPlanarFnOf<uint8_t>, const uint8_t*, uint8_t*,
                                        int, int, int);
template void BuildEdgeMask422<uint16_t>(EdgeMaskPlanarFnOf<uint16_t>, const uint16_t*,
                                         uint8_t*, int, int, int);

}  // namespace velmire
