#include "yuy2/candidate_table_yuy2.h"

namespace velmire {

namespace {
constexpr int8_t kPrev = -1;
constexpr int8_t kCur = 0;
constexpr int8_t kNext = +1;
}  // namespace

// Place numbers (1 = scored first) in the comments.
extern constexpr std::array<CandidateEntryYUY2, kYuy2CandidateCount> CandidateTableYUY2{{
    // Negative shifts.
    {kPrev, -2, -6},  //  1
    {kPrev, -2, -2},  //  2
    {kPrev, -1, -4},  //  3
    {kPrev, 0, -4},   //  4
    {kPrev, +1, -6},  //  5
    {kPrev, +1, -2},  //  6
    {kPrev, +2, -6},  //  7
    {kPrev, +2, -2},  //  8
    {kCur, -2, -4},   //  9
    {kCur, -1, -6},   // 10
    {kCur, -1, -2},   // 11
    {kCur, +1, -4},   // 12
    {kCur, +2, -4},   // 13
    {kNext, -2, -6},  // 14
    {kNext, -2, -2},  // 15
    {kNext, -1, -4},  // 16
    {kNext, 0, -4},   // 17
    {kNext, +1, -6},  // 18
    {kNext, +1, -2},  // 19
    {kNext, +2, -6},  // 20
    {kNext, +2, -2},  // 21
    // Zero shifts.
    {kPrev, -1, 0},  // 22
    {kPrev, 0, 0},   // 23
    {kCur, -2, 0},   // 24
    {kCur, -1, 0},   // 25
    {kCur, +1, 0},   // 26
    {kCur, +2, 0},   // 27
    {kNext, -1, 0},  // 28
    {kNext, 0, 0},   // 29
    // Positive shifts.
    {kPrev, -2, +6},  // 30
    {kPrev, -2, +2},  // 31
    {kPrev, -1, +4},  // 32
    {kPrev, 0, +4},   // 33
    {kPrev, +1, +6},  // 34
    {kPrev, +1, +2},  // 35
    {kPrev, +2, +6},  // 36
    {kPrev, +2, +2},  // 37
    {kCur, -2, +4},   // 38
    {kCur, -1, +6},   // 39
    {kCur, -1, +2},   // 40
    {kCur, +1, +4},   // 41
    {kCur, +2, +4},   // 42
    {kNext, -2, +6},  // 43
    {kNext, -2, +2},  // 44
    {kNext, -1, +4},  // 45
    {kNext, 0, +4},   // 46
    {kNext, +1, +6},  // 47
    {kNext, +1, +2},  // 48
    {kNext, +2, +6},  // 49
    {kNext, +2, +2},  // 50
}};

namespace {

// The block's own row is the reference, never a candidate.
constexpr bool NeverTheReferenceRow() {
  for (const CandidateEntryYUY2& c : CandidateTableYUY2) {
    if (c.frame == kCur && c.rowOffset == 0) return false;
  }
  return true;
}

// Reads stay within rows y-2 .. y+2 and bytes x-12 .. x+27.
constexpr bool WithinReach() {
  for (const CandidateEntryYUY2& c : CandidateTableYUY2) {
    if (c.frame < kPrev || c.frame > kNext || c.rowOffset < -2 || c.rowOffset > 2) return false;
    if (c.shift < -kLargestShiftYUY2 || c.shift > kLargestShiftYUY2 || c.shift % 2 != 0) {
      return false;
    }
  }
  return true;
}

static_assert(NeverTheReferenceRow());
static_assert(WithinReach());

}  // namespace

}  // namespace velmire
