// Luma sample sequences that exercise the edge rule in different ways, for the mask checks.
#pragma once

#include <cstdint>
#include <vector>

#include "vector_sets.h"

namespace velmire::test {

// Every sample between its neighbours, except where the values wrap round from 255 to 0.
inline std::vector<uint8_t> SteadyRamp(int count) {
  std::vector<uint8_t> s(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) s[static_cast<size_t>(i)] = static_cast<uint8_t>(3 * i);
  return s;
}

struct LumaPattern {
  const char* name;
  std::vector<uint8_t> (*make)(RandomBytes& random, int count);
};

inline const std::vector<LumaPattern>& LumaPatterns() {
  static const std::vector<LumaPattern> patterns{
      {"random", [](RandomBytes& r, int n) { return r.Bytes(static_cast<size_t>(n)); }},
      {"all equal",
       [](RandomBytes&, int n) { return std::vector<uint8_t>(static_cast<size_t>(n), 128); }},
      {"steady ramp", [](RandomBytes&, int n) { return SteadyRamp(n); }},
      {"extremes",  // maximal differences and the values next to them
       [](RandomBytes& r, int n) {
         static const std::vector<uint8_t> values{0, 1, 127, 128, 254, 255};
         std::vector<uint8_t> s(static_cast<size_t>(n));
         for (uint8_t& v : s) v = r.Pick(values);
         return s;
       }},
      {"sparse ramps",  // a flat row with a few short ramps of random steepness
       [](RandomBytes& r, int n) {
         std::vector<uint8_t> s(static_cast<size_t>(n), 100);
         for (int i = 0; i + 2 < n; ++i) {
           if (!r.Chance(5)) continue;
           const int step = r.Between(1, 77);
           s[static_cast<size_t>(i) + 1] = static_cast<uint8_t>(100 + step);
           s[static_cast<size_t>(i) + 2] = static_cast<uint8_t>(100 + 2 * step);
           i += 2;
         }
         return s;
       }},
      {"small steps",  // spreads around thresholds 0 .. 3
       [](RandomBytes& r, int n) {
         std::vector<uint8_t> s(static_cast<size_t>(n));
         for (uint8_t& v : s) v = static_cast<uint8_t>(60 + r.Between(0, 3));
         return s;
       }},
  };
  return patterns;
}

}  // namespace velmire::test
