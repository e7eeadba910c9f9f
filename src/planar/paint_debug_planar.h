// The Debug display of one planar chroma row: marked columns painted so the mask shows.
#pragma once

#include <cstdint>

namespace velmire {

inline constexpr int kDebugPaintU = 128;  // in 8-bit units; deeper samples take it shifted up
inline constexpr int kDebugPaintV = 255;

// For chroma columns 4 .. chromaWidth-5 whose mask entry is non-zero, sets output U to 128
// and V to 255, shifted left by `shift` (the sample depth less 8). Other columns keep what the
// output rows hold (frame n's values), also where the widened mask has marks outside that
// range.
template <typename Sample>
void PaintDebugPlanar(const uint8_t* mask, int chromaWidth, Sample* outputU, Sample* outputV,
                      int shift = 0);

}  // namespace velmire
