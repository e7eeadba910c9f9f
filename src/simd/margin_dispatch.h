// Turns the run-time Margin into a compile-time one, so that the widening of the mask routines
// uses immediate byte shifts.
#pragma once

namespace velmire::simd {
namespace {

// Calls walk.template operator()<margin>() for a margin of 0 .. 4; false for any other margin.
template <typename Walk>
bool WithMargin(int margin, Walk&& walk) {
  switch (margin) {
    case 0:
      walk.template operator()<0>();
      return true;
    case 1:
      walk.template operator()<1>();
      return true;
    case 2:
      walk.template operator()<2>();
      return true;
    case 3:
      walk.template operator()<3>();
      return true;
    case 4:
      walk.template operator()<4>();
      return true;
    default:
      return false;
  }
}

}  // namespace
}  // namespace velmire::simd
