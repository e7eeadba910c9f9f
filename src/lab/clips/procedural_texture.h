// Building blocks of the demo's made-up pictures: colours, and random values and smooth noise
// that depend only on their arguments, so every picture comes out the same on every run.
#pragma once

#include <cstdint>

namespace velmire::lab {

// Gamma-corrected R'G'B' with components 0..1.
struct Rgb {
  float r = 0.0f, g = 0.0f, b = 0.0f;
};

inline Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb Scale(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }

// Studio-range BT.601: Y on the 16..235 scale, U and V centred on zero. Components are
// clamped to 0..1 first.
struct YuvSample {
  float y, u, v;
};
YuvSample ToYuv(Rgb c);

// A random value in [0, 1) for each integer pair and seed.
float Random(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smooth value noise in [0, 1), one lattice cell per unit.
float Noise(float x, float y, std::uint32_t seed);

// Noise of `octaves` octaves, the first with cells of `cell` pixels and each next one half as
// large and 0.55 times as strong; roughly in [-0.5, 0.5].
float Fractal(float x, float y, float cell, int octaves, std::uint32_t seed);

// 0 below `edge0`, 1 above `edge1`, a smooth step between.
float SmoothStep(float edge0, float edge1, float x);

}  // namespace velmire::lab
