#include "planar/paint_debug_planar.h"

namespace velmire {

void PaintDebugPlanar(const uint8_t* mask, int chromaWidth, uint8_t* outputU, uint8_t* outputV) {
  for (int i = 4; i < chromaWidth - 4; ++i) {
    if (mask[i] == 0) continue;
    outputU[i] = kDebugPaintU;
    outputV[i] = kDebugPaintV;
  }
}

}  // namespace velmire
