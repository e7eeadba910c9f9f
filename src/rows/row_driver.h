// The row loop of every pass: build each working row's edge mask, skip rows without marks, and
// paint or correct the others, then finish every row (the stronger mode's still blend). The
// layouts differ only in what the steps do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "detect/mask_scan.h"

namespace velmire {

// Rows first .. last. `mask` holds maskBytes zero bytes on entry. buildMask(row, mask) sets the
// row's marks; paint(row, mask) (Debug) or correct(row, mask) then handles a row with marks.
// Most rows of most pictures have no steep detail at all: they cost the mask alone, and leave
// it clear for the next row.
// finish(row), when given, then runs on every row, marked or not.
template <typename BuildMask, typename Paint, typename Correct, typename Finish>
void DriveRows(int first, int last, uint8_t* mask, int maskBytes, bool debug,
               BuildMask buildMask, Paint paint, Correct correct, Finish finish) {
  bool maskClear = true;
  for (int row = first; row <= last; ++row) {
    if (!maskClear) std::memset(mask, 0, static_cast<size_t>(maskBytes));
    buildMask(row, mask);
    maskClear = !AnyMarked(mask, 0, maskBytes);
    if (!maskClear) {
      if (debug) {
        paint(row, mask);
      } else {
        correct(row, mask);
      }
    }
    finish(row);
  }
}

template <typename BuildMask, typename Paint, typename Correct>
void DriveRows(int first, int last, uint8_t* mask, int maskBytes, bool debug,
               BuildMask buildMask, Paint paint, Correct correct) {
  DriveRows(first, last, mask, maskBytes, debug, buildMask, paint, correct, [](int) {});
}

}  // namespace velmire
