// Word4 lane arithmetic, done lane by lane on unsigned 16-bit values so that wrap-around is
// well defined.
#include "detect/word4.h"

namespace velmire {

namespace {

constexpr int kLaneBits = 16;
constexpr uint64_t kLaneMask = 0xFFFF;

uint16_t LaneBits(uint64_t bits, int i) {
  return static_cast<uint16_t>((bits >> (kLaneBits * i)) & kLaneMask);
}

uint64_t PlaceLane(uint16_t lane, int i) { return uint64_t{lane} << (kLaneBits * i); }

}  // namespace

Word4 Word4::FromLanes(int16_t l0, int16_t l1, int16_t l2, int16_t l3) {
  Word4 w;
  w.bits = PlaceLane(static_cast<uint16_t>(l0), 0) | PlaceLane(static_cast<uint16_t>(l1), 1) |
           PlaceLane(static_cast<uint16_t>(l2), 2) | PlaceLane(static_cast<uint16_t>(l3), 3);
  return w;
}

int16_t Word4::Lane(int i) const { return static_cast<int16_t>(LaneBits(bits, i)); }

Word4& Word4::SubWord4(const Word4& other) {
  uint64_t result = 0;
  for (int i = 0; i < 4; ++i) {
    result |= PlaceLane(static_cast<uint16_t>(LaneBits(bits, i) - LaneBits(other.bits, i)), i);
  }
  bits = result;
  return *this;
}

Word4 AbsWord4(Word4 w) {
  // Sign mask: all ones in every lane whose top bit is set.
  Word4 sign;
  for (int i = 0; i < 4; ++i) {
    if (LaneBits(w.bits, i) & 0x8000) sign.bits |= PlaceLane(0xFFFF, i);
  }
  Word4 magnitude;
  magnitude.bits = w.bits ^ sign.bits;
  return magnitude.SubWord4(sign);
}

}  // namespace velmire
