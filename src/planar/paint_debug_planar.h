// The Debug display of one planar chroma row: marked columns painted so the mask shows.
#pragma once

#include <cstdint>

namespace velmire {

inline constexpr uint8_t kDebugPaintU = 128;
inline constexpr uint8_t kDebugPaintV = 255;

// For chroma columns 4 .. chromaWidth-5 whose mask entry is non-zero, sets output U to 128
// and V to 255. Other columns keep what the output rows hold (frame n's values), also where
// the widened mask has marks outside that range.
void PaintDebugPlanar(const uint8_t* mask, int chromaWidth, uint8_t* outputU, uint8_t* outputV);

}  // namespace velmire
