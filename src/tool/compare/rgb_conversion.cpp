#include "tool/compare/rgb_conversion.h"

#include <algorithm>
#include <cmath>

namespace velmire::cli {
namespace {

std::uint8_t Clamp8(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

RgbImage ToRgb(const StreamFrameView& frame, const PixelRect& rect) {
  const bool full_height_chroma = frame.geometry.layout == ChromaLayout::k422;
  RgbImage out(rect.width, rect.height);
  for (int r = 0; r < rect.height; ++r) {
    const int y = rect.y + r;
    const int chroma_row = full_height_chroma ? y : y / 2;
    for (int c = 0; c < rect.width; ++c) {
      const int x = rect.x + c;
      const double luma = 1.164 * (frame.Y8(x, y) - 16);
      const double cb = frame.U8(x / 2, chroma_row) - 128;
      const double cr = frame.V8(x / 2, chroma_row) - 128;
      std::uint8_t* px = out.at(c, r);
      px[0] = Clamp8(luma + 1.596 * cr);
      px[1] = Clamp8(luma - 0.392 * cb - 0.813 * cr);
      px[2] = Clamp8(luma + 2.017 * cb);
    }
  }
  return out;
}

}  // namespace velmire::cli
