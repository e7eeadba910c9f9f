// Widening of one flagged chroma position into the row's mask.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace velmire {

// Sets to 0xFF the entries of positions position-margin .. position+margin that lie inside
// the row (0 .. positionCount-1); positions outside it are dropped, so nothing is written past
// positionCount * bytesPerPosition bytes. Entries are only ever set, never cleared.
inline void MarkWidened(uint8_t* mask, int positionCount, int bytesPerPosition, int position,
                        int margin) {
  const int first = std::max(position - margin, 0);
  const int last = std::min(position + margin, positionCount - 1);
  if (last < first) return;
  std::memset(mask + first * bytesPerPosition, 0xFF,
              static_cast<size_t>(last - first + 1) * bytesPerPosition);
}

}  // namespace velmire
