// Vector versions of the pixel kernels for 64-bit ARM processors. Each gives exactly the bytes
// of its portable counterpart for every input, and reads only what the portable version may
// read (the row, the mask, and the candidate blocks the portable search compares).
#pragma once

#include <cstdint>
#include <type_traits>

#include "detect/edge_mask.h"
#include "planar/correct_block_planar.h"
#include "yuy2/correct_block_yuy2.h"

namespace velmire::neon {

// Each kernel has the function type of its portable definition's pointer alias.
std::remove_pointer_t<EdgeMaskYUY2Fn> BuildEdgeMaskYUY2Neon;
std::remove_pointer_t<EdgeMaskPlanarFn> BuildEdgeMaskPlanarNeon;
std::remove_pointer_t<EdgeMaskPlanar16Fn> BuildEdgeMaskPlanar16Neon;

std::remove_pointer_t<CorrectBlockYUY2Fn> CorrectBlockYUY2Neon;
std::remove_pointer_t<CorrectBlockPlanarFn> CorrectBlockPlanarNeon;
std::remove_pointer_t<CorrectBlockPlanar16Fn> CorrectBlockPlanar16Neon;
std::remove_pointer_t<CorrectRowYUY2Fn> CorrectRowYUY2Neon;
std::remove_pointer_t<CorrectRowPlanarFnOf<uint8_t>> CorrectRowPlanarNeon;
std::remove_pointer_t<CorrectRowPlanarFnOf<uint16_t>> CorrectRowPlanar16Neon;

}  // namespace velmire::neon
