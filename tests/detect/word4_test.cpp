// Lane arithmetic of Word4: wrapping subtraction and the XOR/subtract absolute value.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "detect/word4.h"

namespace velmire {
namespace {

using Lanes = std::array<int16_t, 4>;

Word4 Make(const Lanes& l) { return Word4::FromLanes(l[0], l[1], l[2], l[3]); }
Lanes LanesOf(const Word4& w) { return {w.Lane(0), w.Lane(1), w.Lane(2), w.Lane(3)}; }

TEST(Word4, SubtractsLaneByLaneWrapping) {
  struct Case {
    Lanes a, b, difference;
  };
  const Case cases[] = {
      {{5, 0, -1, 100}, {7, 1, 1, 100}, {-2, -1, -2, 0}},
      {{-32768, 32767, 0, -1}, {1, -1, 1, -1}, {32767, -32768, -1, 0}},  // wraps, no borrow
      {{0, 0, 0, 0}, {-1, 0, -1, 0}, {1, 0, 1, 0}},
      {{255, 0, 128, 1}, {0, 255, 128, 2}, {255, -255, 0, -1}},
  };
  for (const Case& c : cases) {
    Word4 w = Make(c.a);
    const Word4 result = w.SubWord4(Make(c.b));
    EXPECT_EQ(LanesOf(w), c.difference);
    EXPECT_EQ(LanesOf(result), c.difference) << "returned value differs from the updated one";
  }
}

TEST(Word4, AbsoluteValueKeepsMostNegativeLane) {
  struct Case {
    Lanes in, out;
  };
  const Case cases[] = {
      {{0, 1, -1, -32768}, {0, 1, 1, -32768}},
      {{-255, 255, 32767, -32767}, {255, 255, 32767, 32767}},
      {{-2, -3, -4, -5}, {2, 3, 4, 5}},
  };
  for (const Case& c : cases) EXPECT_EQ(LanesOf(AbsWord4(Make(c.in))), c.out);
}

}  // namespace
}  // namespace velmire
