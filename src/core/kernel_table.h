// What a kernel set holds: one function per pixel kernel of each pass. The portable set defines
// the results; every vector set gives the same bytes for every input.
#pragma once

#include "core/kernel_set.h"
#include "planar/reduce_planar.h"
#include "yuy2/reduce_yuy2.h"

namespace velmire {

struct KernelSet {
  const char* name;
  EdgeMaskYUY2Fn edgeMaskYUY2;
  EdgeMaskPlanarFn edgeMaskPlanar;
  CorrectBlockYUY2Fn correctBlockYUY2;
  CorrectBlockPlanarFn correctBlockPlanar;
  EdgeMaskPlanar16Fn edgeMaskPlanar16;  // 9- to 16-bit samples
  CorrectBlockPlanar16Fn correctBlockPlanar16;
  PartnerBlendYUY2Fn partnerBlendYUY2;  // the stronger mode
  PartnerBlendPlanarFnOf<uint8_t> partnerBlendPlanar;
  PartnerBlendPlanarFnOf<uint16_t> partnerBlendPlanar16;

  Yuy2Kernels Yuy2() const { return {edgeMaskYUY2, correctBlockYUY2, partnerBlendYUY2}; }
  PlanarKernels Planar() const {
    return {edgeMaskPlanar, correctBlockPlanar, partnerBlendPlanar};
  }
  PlanarKernels16 Planar16() const {
    return {edgeMaskPlanar16, correctBlockPlanar16, partnerBlendPlanar16};
  }
};

}  // namespace velmire
