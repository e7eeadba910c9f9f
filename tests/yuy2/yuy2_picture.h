// A YUY2 picture held without padding (row y starts at y * rowSize), with accessors by luma
// sample and by macropixel, so tests can state frames and expectations in the layout's terms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmire::test {

struct Yuy2Picture {
  int rowSize = 0;  // bytes per row, two per pixel
  int height = 0;
  std::vector<uint8_t> bytes;

  Yuy2Picture() = default;
  Yuy2Picture(int rowSizeBytes, int rows, uint8_t fill = 0)
      : rowSize(rowSizeBytes),
        height(rows),
        bytes(static_cast<size_t>(rowSizeBytes * rows), fill) {}

  uint8_t& At(int y, int x) { return bytes[static_cast<size_t>(y * rowSize + x)]; }
  uint8_t At(int y, int x) const { return bytes[static_cast<size_t>(y * rowSize + x)]; }
  uint8_t& Luma(int y, int sample) { return At(y, 2 * sample); }
  uint8_t Luma(int y, int sample) const { return At(y, 2 * sample); }
  uint8_t& U(int y, int macropixel) { return At(y, 4 * macropixel + 1); }
  uint8_t U(int y, int macropixel) const { return At(y, 4 * macropixel + 1); }
  uint8_t& V(int y, int macropixel) { return At(y, 4 * macropixel + 3); }
  uint8_t V(int y, int macropixel) const { return At(y, 4 * macropixel + 3); }

  int Samples() const { return rowSize / 2; }
  int Macropixels() const { return rowSize / 4; }

  std::vector<uint8_t> Row(int y) const {
    return {bytes.begin() + y * rowSize, bytes.begin() + (y + 1) * rowSize};
  }
};

// "" when the pictures are equal, else where the first difference is.
inline std::string FirstDifference(const Yuy2Picture& expected, const Yuy2Picture& actual) {
  if (expected.rowSize != actual.rowSize || expected.height != actual.height) {
    return "size " + std::to_string(actual.rowSize) + "x" + std::to_string(actual.height) +
           ", expected " + std::to_string(expected.rowSize) + "x" + std::to_string(expected.height);
  }
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.rowSize; ++x) {
      if (expected.At(y, x) == actual.At(y, x)) continue;
      return "row " + std::to_string(y) + " byte " + std::to_string(x) + ": " +
             std::to_string(actual.At(y, x)) + ", expected " + std::to_string(expected.At(y, x));
    }
  }
  return "";
}

}  // namespace velmire::test
