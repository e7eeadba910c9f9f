#include "lab/clips/procedural_texture.h"

#include <algorithm>
#include <cmath>

namespace velmire::lab {
namespace {

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9e3779b9u ^ std::uint32_t(x) * 0x85ebca6bu ^
                    std::uint32_t(y) * 0xc2b2ae35u;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

}  // namespace

YuvSample ToYuv(Rgb c) {
  const float r = std::clamp(c.r, 0.0f, 1.0f), g = std::clamp(c.g, 0.0f, 1.0f),
              b = std::clamp(c.b, 0.0f, 1.0f);
  return {16.0f + 65.481f * r + 128.553f * g + 24.966f * b,
          -37.797f * r - 74.203f * g + 112.0f * b, 112.0f * r - 93.786f * g - 18.214f * b};
}

float Random(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  return float(Hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float Noise(float x, float y, std::uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  const float a = Random(ix, iy, seed), b = Random(ix + 1, iy, seed);
  const float c = Random(ix, iy + 1, seed), d = Random(ix + 1, iy + 1, seed);
  return a + (b - a) * tx + (c - a) * ty + (a - b - c + d) * tx * ty;
}

float Fractal(float x, float y, float cell, int octaves, std::uint32_t seed) {
  float sum = 0.0f, amplitude = 1.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * (Noise(x / cell, y / cell, seed + std::uint32_t(o)) - 0.5f);
    cell *= 0.5f;
    amplitude *= 0.55f;
  }
  return sum;
}

float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

}  // namespace velmire::lab
