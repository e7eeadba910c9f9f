// Whether any entry of a stretch of an edge mask is set: lets a pass skip a row without marks
// before it prepares anything for the row's blocks.
#pragma once

#include <cstdint>
#include <cstring>

namespace velmire {

inline bool AnyMarked(const uint8_t* mask, int begin, int end) {
  int i = begin;
  uint64_t any = 0;
  for (; i + 8 <= end; i += 8) {
    uint64_t word;
    std::memcpy(&word, mask + i, sizeof word);
    any |= word;
  }
  for (; i < end; ++i) any |= mask[i];
  return any != 0;
}

}  // namespace velmire
