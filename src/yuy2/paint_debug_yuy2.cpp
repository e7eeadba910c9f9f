#include "yuy2/paint_debug_yuy2.h"

namespace velmire {

namespace {
constexpr int kFirstPaintedByte = 16;  // the first 16 and last 16 bytes are never painted
constexpr int kBytesPerMacropixel = 4;
constexpr uint8_t kPaintU = 128;  // mid-grey U and full V: marks show as a vivid colour
constexpr uint8_t kPaintV = 255;
}  // namespace

void PaintDebugYUY2(const uint8_t* mask, uint8_t* outputRow, int rowSize) {
  for (int x = kFirstPaintedByte; x < rowSize - kFirstPaintedByte; x += kBytesPerMacropixel) {
    if (mask[x] == 0) continue;
    outputRow[x + 1] = kPaintU;
    outputRow[x + 3] = kPaintV;
  }
}

}  // namespace velmire
