// Whether any entry of a stretch of an edge mask is set: lets a pass skip a row without marks
// before it prepares anything for the row's blocks.
#pragma once

#include <cstdint>
#include <cstring>

namespace velmire {

inline bool AnyMarked(const uint8_t* mask, int begin, int end) {
  if (end <= begin) return false;
  // Every entry equals the first, and the first is zero: compared by the C library's memcmp,
  // which is vectorised for the processor at hand.
  const uint8_t* first = mask + begin;
  return *first != 0 || std::memcmp(first, first + 1, static_cast<size_t>(end - begin - 1)) != 0;
}

}  // namespace velmire
