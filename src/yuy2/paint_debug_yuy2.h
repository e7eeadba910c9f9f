// The Debug display of one YUY2 row: marked macropixels painted so the edge mask shows.
#pragma once

#include <cstdint>

namespace velmire {

// For every macropixel starting at byte x, 16 <= x < rowSize-16, whose mask entry is non-zero,
// sets output U (byte x+1) to 128 and V (byte x+3) to 255. Luma and every other byte keep what
// the output row holds (frame n's values), also where the widened mask has marks outside that
// range.
void PaintDebugYUY2(const uint8_t* mask, uint8_t* outputRow, int rowSize);

}  // namespace velmire
