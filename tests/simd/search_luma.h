// Luma rows for the block search checks, each kind aimed at a different part of the search:
// differences spread widely or bunched near Noise, exact ties, the largest differences.
#pragma once

#include <cstdint>
#include <vector>

#include "vector_sets.h"

namespace velmire::test {

struct SearchLuma {
  const char* name;
  std::vector<uint8_t> (*row)(RandomBytes& random, int count);
};

inline std::vector<uint8_t> SamplesFrom(RandomBytes& r, int count, int lo, int hi) {
  std::vector<uint8_t> s(static_cast<size_t>(count));
  for (uint8_t& v : s) v = static_cast<uint8_t>(r.Between(lo, hi));
  return s;
}

inline const std::vector<SearchLuma>& SearchLumaKinds() {
  static const std::vector<SearchLuma> kinds{
      {"random", [](RandomBytes& r, int n) { return SamplesFrom(r, n, 0, 255); }},
      // Every difference 0: the earliest candidate that may be read wins.
      {"all equal",
       [](RandomBytes&, int n) { return std::vector<uint8_t>(static_cast<size_t>(n), 77); }},
      // Differences 0 .. 8: many ties, all below the usual Noise.
      {"near ties", [](RandomBytes& r, int n) { return SamplesFrom(r, n, 100, 101); }},
      // Differences up to about 160: some above and some below Noise.
      {"small differences", [](RandomBytes& r, int n) { return SamplesFrom(r, n, 100, 120); }},
      // Differences in steps of 255, from 0 to the largest, 2040.
      {"extremes",
       [](RandomBytes& r, int n) {
         std::vector<uint8_t> s(static_cast<size_t>(n));
         for (uint8_t& v : s) v = r.Chance(50) ? 0 : 255;
         return s;
       }},
      // Whole rows of 0 or 255: every difference is 0 or 2040.
      {"constant rows",
       [](RandomBytes& r, int n) {
         return std::vector<uint8_t>(static_cast<size_t>(n), r.Chance(50) ? 0 : 255);
       }},
  };
  return kinds;
}

// Noise values: the usual ones, the ends of the clamped range, and values beyond it.
inline const std::vector<int>& NoiseValues() {
  static const std::vector<int> values{0, 1, 2, 8, 60, 128, 254, 255, -1, 256, 2040, 2041, 5000};
  return values;
}

}  // namespace velmire::test
