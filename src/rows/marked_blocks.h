// The walk of a row kernel over the row's blocks: only blocks with a mark are searched.
#pragma once

#include <cstdint>
#include <cstring>

namespace velmire {

// Whether any of the kEntries mask entries from `entries` is set, read as 32-bit words.
template <int kEntries>
inline bool BlockHasMark(const uint8_t* entries) {
  static_assert(kEntries % 4 == 0);
  uint32_t words[kEntries / 4];
  std::memcpy(words, entries, sizeof words);
  uint32_t any = 0;
  for (uint32_t word : words) any |= word;
  return any != 0;
}

// visit(x) for x = first, first + kEntries, ... below end, where the block's kEntries mask
// entries from x hold a mark.
template <int kEntries, typename Visit>
inline void ForEachMarkedBlock(const uint8_t* mask, int first, int end, Visit visit) {
  for (int x = first; x < end; x += kEntries) {
    if (BlockHasMark<kEntries>(mask + x)) visit(x);
  }
}

}  // namespace velmire
