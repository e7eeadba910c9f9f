// Four signed 16-bit lanes packed into one 64-bit value; lane arithmetic wraps modulo 2^16.
#pragma once

#include <cstdint>

namespace velmire {

struct Word4 {
  uint64_t bits = 0;

  static Word4 FromLanes(int16_t l0, int16_t l1, int16_t l2, int16_t l3);
  int16_t Lane(int i) const;

  // Lane-wise subtraction in place; returns the updated value.
  Word4& SubWord4(const Word4& other);
};

// Lane-wise absolute value, formed as (x XOR s) - s with s the lane's sign mask; -32768 stays.
Word4 AbsWord4(Word4 w);

}  // namespace velmire
