#include "lab/clips/detail_mask.h"

#include <algorithm>
#include <cmath>

namespace velmire::lab {
namespace {

// Curvature that counts as detail, on the 8-bit luma scale.
constexpr float kMinCurvature = 12.0f;
// How far false colour reaches beside the detail: the decoder's band-pass and low-pass
// filters each spread it by up to ten samples.
constexpr int kReach = 20;

}  // namespace

std::vector<std::uint8_t> FindDetailedAreas(const FloatPlane& luma) {
  const int w = luma.width, h = luma.height;
  std::vector<std::uint8_t> mask(std::size_t(w) * std::size_t(h), 0);
  for (int y = 0; y < h; ++y) {
    const float* row = luma.row(y);
    std::uint8_t* out = mask.data() + std::size_t(y) * std::size_t(w);
    for (int x = 1; x + 1 < w; ++x) {
      if (std::fabs(row[x - 1] - 2.0f * row[x] + row[x + 1]) < kMinCurvature) continue;
      std::fill(out + std::max(0, x - kReach), out + std::min(w, x + kReach + 1), 1);
    }
  }
  return mask;
}

}  // namespace velmire::lab
