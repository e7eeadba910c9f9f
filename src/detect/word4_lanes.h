// Further Word4 operations used by the block differences: filling lanes from pixel bytes,
// lane-wise addition and the sum of the four lanes.
#pragma once

#include <cstdint>

#include "detect/word4.h"

namespace velmire {

// Four consecutive bytes, each zero-extended into its own lane (lane k = bytes[k]).
inline Word4 WidenBytes(const uint8_t* bytes) {
  return Word4::FromLanes(bytes[0], bytes[1], bytes[2], bytes[3]);
}

// The luma samples of eight YUY2 bytes (Y0 U Y1 V Y0 U Y1 V): lane k = bytes[2k], the chroma
// bytes masked off.
inline Word4 LumaLanesYUY2(const uint8_t* bytes) {
  return Word4::FromLanes(bytes[0], bytes[2], bytes[4], bytes[6]);
}

// Lane-wise addition, wrapping modulo 2^16.
inline Word4 AddWord4(Word4 a, Word4 b) {
  int16_t sum[4];
  for (int i = 0; i < 4; ++i) {
    // The int sum cannot overflow; the conversion to 16 bits wraps it.
    sum[i] = static_cast<int16_t>(static_cast<uint16_t>(a.Lane(i) + b.Lane(i)));
  }
  return Word4::FromLanes(sum[0], sum[1], sum[2], sum[3]);
}

// Sum of the four lanes, each sign-extended.
inline int SumLanes(Word4 w) { return w.Lane(0) + w.Lane(1) + w.Lane(2) + w.Lane(3); }

}  // namespace velmire
