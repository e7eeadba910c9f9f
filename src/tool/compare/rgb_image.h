// An 8-bit RGB picture, rows packed (3 bytes per pixel).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmire::cli {

struct RgbImage {
  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h) * 3, 0) {}

  std::uint8_t* at(int x, int y) {
    return pixels.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
  }
  const std::uint8_t* at(int x, int y) const {
    return pixels.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
  }

  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// A rectangle in picture coordinates.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

}  // namespace velmire::cli
