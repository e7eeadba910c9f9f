// Four signed 16-bit lanes packed into one 64-bit value; lane arithmetic wraps modulo 2^16.
// Everything is inline: the block differences call these operations in their innermost loop.
#pragma once

#include <cstdint>

namespace velmire {

namespace word4_detail {

inline constexpr int kLaneBits = 16;
inline constexpr uint64_t kLaneMask = 0xFFFF;

inline uint16_t LaneBits(uint64_t bits, int i) {
  return static_cast<uint16_t>((bits >> (kLaneBits * i)) & kLaneMask);
}

inline uint64_t PlaceLane(uint16_t lane, int i) { return uint64_t{lane} << (kLaneBits * i); }

}  // namespace word4_detail

struct Word4 {
  uint64_t bits = 0;

  static Word4 FromLanes(int16_t l0, int16_t l1, int16_t l2, int16_t l3) {
    using word4_detail::PlaceLane;
    Word4 w;
    w.bits = PlaceLane(static_cast<uint16_t>(l0), 0) | PlaceLane(static_cast<uint16_t>(l1), 1) |
             PlaceLane(static_cast<uint16_t>(l2), 2) | PlaceLane(static_cast<uint16_t>(l3), 3);
    return w;
  }

  int16_t Lane(int i) const { return static_cast<int16_t>(word4_detail::LaneBits(bits, i)); }

  // Lane-wise subtraction in place, done on unsigned 16-bit values so that wrap-around is well
  // defined; returns the updated value.
  Word4& SubWord4(const Word4& other) {
    using word4_detail::LaneBits;
    using word4_detail::PlaceLane;
    uint64_t result = 0;
    for (int i = 0; i < 4; ++i)
      result |= PlaceLane(static_cast<uint16_t>(LaneBits(bits, i) - LaneBits(other.bits, i)), i);
    bits = result;
    return *this;
  }
};

// Lane-wise absolute value, formed as (x XOR s) - s with s the lane's sign mask; -32768 stays.
inline Word4 AbsWord4(Word4 w) {
  using word4_detail::LaneBits;
  using word4_detail::PlaceLane;
  Word4 sign;
  for (int i = 0; i < 4; ++i) {
    if (LaneBits(w.bits, i) & 0x8000) sign.bits |= PlaceLane(0xFFFF, i);
  }
  Word4 magnitude;
  magnitude.bits = w.bits ^ sign.bits;
  return magnitude.SubWord4(sign);
}

}  // namespace velmire
