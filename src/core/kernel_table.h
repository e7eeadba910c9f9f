// What a kernel set holds: one function per pixel kernel of each pass. The portable set defines
// the results; every vector set gives the same bytes for every input.
#pragma once

#include "core/kernel_set.h"
#include "planar/reduce_planar.h"
#include "yuy2/reduce_yuy2.h"

namespace velmire {

struct KernelSet {
  const char* name;
  // Edge masks of one row: YUY2, planar 8-bit, planar 9- to 16-bit.
  EdgeMaskYUY2Fn edgeMaskYUY2;
  EdgeMaskPlanarFn edgeMaskPlanar;
  EdgeMaskPlanar16Fn edgeMaskPlanar16;
  // Search and blend of one block: what the checkers compare one block at a time.
  CorrectBlockYUY2Fn correctBlockYUY2;
  CorrectBlockPlanarFn correctBlockPlanar;
  CorrectBlockPlanar16Fn correctBlockPlanar16;
  // Every marked block of a row, with the stronger mode's blend where the job asks for it:
  // what the passes call, once per row.
  CorrectRowYUY2Fn correctRowYUY2;
  CorrectRowPlanarFnOf<uint8_t> correctRowPlanar;
  CorrectRowPlanarFnOf<uint16_t> correctRowPlanar16;
  // The stronger mode's still blend (low-pass and blend of runs) of 8-bit rows, YUY2 and
  // planar, and of 9- to 16-bit rows.
  StillKernelsOf<uint8_t> still;
  StillKernelsOf<uint16_t> still16;

  PassKernelsYUY2 Yuy2() const { return {edgeMaskYUY2, correctRowYUY2, still}; }
  PassKernelsPlanar Planar() const { return {edgeMaskPlanar, correctRowPlanar, still}; }
  PassKernelsPlanar16 Planar16() const { return {edgeMaskPlanar16, correctRowPlanar16, still16}; }
};

}  // namespace velmire
