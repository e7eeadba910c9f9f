// The pixel kernels one filter uses, chosen once when the filter is built: the portable
// definitions, or a vector version for the processor that gives exactly the same bytes.
#pragma once

#include <vector>

#include "detect/edge_mask.h"
#include "planar/correct_block_planar.h"
#include "yuy2/correct_block_yuy2.h"

namespace velmire {

struct KernelSet {
  const char* name;
  EdgeMaskYUY2Fn edgeMaskYUY2;
  EdgeMaskPlanarFn edgeMaskPlanar;
  CorrectBlockYUY2Fn correctBlockYUY2;
  CorrectBlockPlanarFn correctBlockPlanar;
};

const KernelSet& PortableKernels();

// Every kernel set this build has that the processor can run, portable first.
std::vector<const KernelSet*> AvailableKernels();

// The fastest of AvailableKernels().
const KernelSet& BestKernels();

}  // namespace velmire
