#include "planar/paint_debug_planar.h"

namespace velmire {

template <typename Sample>
void PaintDebugPlanar(const uint8_t* mask, int chromaWidth, Sample* outputU, Sample* outputV,
                      int shift) {
  const auto paintU = static_cast<Sample>(kDebugPaintU << shift);
  const auto paintV = static_cast<Sample>(kDebugPaintV << shift);
  for (int i = 4; i < chromaWidth - 4; ++i) {
    if (mask[i] == 0) continue;
    outputU[i] = paintU;
    outputV[i] = paintV;
  }
}

template void PaintDebugPlanar(const uint8_t*, int, uint8_t*, uint8_t*, int);
template void PaintDebugPlanar(const uint8_t*, int, uint16_t*, uint16_t*, int);

}  // namespace velmire
