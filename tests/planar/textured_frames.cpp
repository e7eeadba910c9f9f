#include "textured_frames.h"

#include <algorithm>
#include <array>
#include <vector>

namespace velmire::test {
namespace {

int Draw(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

uint8_t Clamp8(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

void FillCurrentRow(PlanarImage& image, int row, std::mt19937& random) {
  const int kind = row == 0 ? Draw(random, 0, 1) : Draw(random, 0, 2);
  if (kind == 0) {  // a random walk with steep steps
    int value = Draw(random, 0, 255);
    for (int c = 0; c < image.width; ++c) {
      value = std::clamp(value + Draw(random, -60, 60), 0, 255);
      image.Y(row, c) = static_cast<uint8_t>(value);
    }
  } else if (kind == 1) {  // a short random period
    const int period = 2 * Draw(random, 1, 3);
    std::vector<uint8_t> cycle(static_cast<size_t>(period));
    for (uint8_t& s : cycle) s = static_cast<uint8_t>(Draw(random, 0, 255));
    for (int c = 0; c < image.width; ++c) image.Y(row, c) = cycle[static_cast<size_t>(c % period)];
  } else {  // the row above again
    for (int c = 0; c < image.width; ++c) image.Y(row, c) = image.Y(row - 1, c);
  }
}

void FillNeighbourRow(PlanarImage& image, const PlanarImage& current, int row,
                      std::mt19937& random) {
  if (Draw(random, 0, 4) == 0) return;  // keep the random row
  const int from = std::clamp(row + Draw(random, -2, 2), 0, current.height - 1);
  const int shift = 2 * Draw(random, -3, 3);
  const int noise = std::array<int, 4>{0, 0, 1, 4}[static_cast<size_t>(Draw(random, 0, 3))];
  for (int c = 0; c < image.width; ++c) {
    const int source = std::clamp(c + shift, 0, current.width - 1);
    image.Y(row, c) = Clamp8(current.Y(from, source) + Draw(random, -noise, noise));
  }
}

}  // namespace

FrameTriple TexturedFrames(int lumaWidth, int lumaHeight, std::mt19937& random) {
  FrameTriple t{RandomImage(lumaWidth, lumaHeight, random),
                RandomImage(lumaWidth, lumaHeight, random),
                RandomImage(lumaWidth, lumaHeight, random)};
  for (int r = 0; r < lumaHeight; ++r) FillCurrentRow(t.current, r, random);
  for (int r = 0; r < lumaHeight; ++r) {
    FillNeighbourRow(t.previous, t.current, r, random);
    FillNeighbourRow(t.next, t.current, r, random);
  }
  return t;
}

}  // namespace velmire::test
