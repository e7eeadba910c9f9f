// Resolution of the candidate table against the three input frames of one working row: every
// entry becomes the start of the row it reads, so the per-block work is pure byte offsets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "yuy2/correct_block_yuy2.h"

namespace velmire {

// One read-only YUY2 frame, addressed with its own pitch.
struct FrameRowsYUY2 {
  const uint8_t* data;
  ptrdiff_t pitch;

  const uint8_t* Row(int y) const { return data + static_cast<ptrdiff_t>(y) * pitch; }
};

// Frames n-1, n and n+1, in that order (index = frame offset + 1).
using InputFramesYUY2 = std::array<FrameRowsYUY2, 3>;

// The job of working row y (2 <= y <= H-3): every candidate resolved to its row in its own
// frame, the reference row y of frame n and the output row.
RowJobYUY2 MakeRowJobYUY2(const InputFramesYUY2& frames, int y, uint8_t* outputRow, int rowSize,
                          int noise);

}  // namespace velmire
