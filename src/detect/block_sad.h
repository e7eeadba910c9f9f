// Block difference primitives: sum of absolute differences of eight luma samples, with a
// running best that only a strictly smaller difference replaces (so the earliest trial wins
// a tie, and a difference equal to the starting value is never accepted).
#pragma once

#include <cstdint>

namespace velmire {

// Planar: compares cand[shift .. shift+7] with refBlock[0 .. 7]. When the difference is
// strictly below *best it is stored in *best and the result is true.
bool BlockSadPlanar(const uint8_t* cand, const uint8_t* refBlock, int shift, int* best);
// The same for 16-bit samples, summed in int (eight differences of up to 65535 each).
bool BlockSadPlanar(const uint16_t* cand, const uint16_t* refBlock, int shift, int* best);

// YUY2: compares the eight luma bytes (even offsets) of the 16 bytes at cand + 2*shift with
// those of refBlock. When the difference is strictly below *best, *best takes it and *bestPos
// takes cand + 2*shift.
void BlockSadYUY2(const uint8_t* cand, const uint8_t* refBlock, int shift, int* best,
                  const uint8_t** bestPos);

}  // namespace velmire
