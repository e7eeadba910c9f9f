// Further Word4 operations used by the block differences: filling lanes from pixel bytes,
// lane-wise addition and the sum of the four lanes.
#pragma once

#include <cstdint>

#include "detect/word4.h"

namespace velmire {

// Four consecutive bytes, each zero-extended into its own lane (lane k = bytes[k]).
Word4 WidenBytes(const uint8_t* bytes);

// The luma samples of eight YUY2 bytes (Y0 U Y1 V Y0 U Y1 V): lane k = bytes[2k], the chroma
// bytes masked off.
Word4 LumaLanesYUY2(const uint8_t* bytes);

// Lane-wise addition, wrapping modulo 2^16.
Word4 AddWord4(Word4 a, Word4 b);

// Sum of the four lanes, each sign-extended.
int SumLanes(Word4 w);

}  // namespace velmire
