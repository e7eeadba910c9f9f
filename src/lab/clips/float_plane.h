// A full-resolution image plane of floating-point samples, used while the demo clip is built.
#pragma once

#include <cstddef>
#include <vector>

namespace velmire::lab {

struct FloatPlane {
  FloatPlane() = default;
  FloatPlane(int w, int h, float fill = 0.0f)
      : width(w), height(h), samples(std::size_t(w) * std::size_t(h), fill) {}

  float& at(int x, int y) { return samples[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
  float at(int x, int y) const {
    return samples[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }
  float* row(int y) { return samples.data() + std::size_t(y) * std::size_t(width); }
  const float* row(int y) const { return samples.data() + std::size_t(y) * std::size_t(width); }

  int width = 0;
  int height = 0;
  std::vector<float> samples;
};

// A picture in Y, U, V at full resolution; Y on the 16..235 scale, U and V centred on zero.
struct YuvImage {
  YuvImage() = default;
  YuvImage(int w, int h) : y(w, h), u(w, h), v(w, h) {}
  FloatPlane y, u, v;
};

}  // namespace velmire::lab
