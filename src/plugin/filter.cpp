#include "plugin/filter.h"

#include "detect/block_sad.h"
#include "detect/edge_mask.h"

namespace velmire {

bool IsSupportedFormat(const VideoInfo& vi) { return vi.IsYUY2() || vi.IsYV12() || vi.IsI420(); }

CrossColorFilter::CrossColorFilter(const PClip& input, int thresholdY, int noise, int margin,
                                   bool debug, IScriptEnvironment* env)
    : CrossColorFilter(input, thresholdY, noise, margin, debug, env, BestKernels()) {}

CrossColorFilter::CrossColorFilter(const PClip& input, int thresholdY, int noise, int margin,
                                   bool debug, IScriptEnvironment* env, const KernelSet& kernels)
    : GenericVideoFilter(input), kernels_(&kernels) {
  if (!IsSupportedFormat(vi)) env->ThrowError(kFormatError, kFunctionName);
  settings_ = FilterSettings::Clamped(thresholdY, noise, margin, debug);
}

PVideoFrame CrossColorFilter::GetFrame(int n, IScriptEnvironment* env) {
  if (vi.IsYUY2()) return ReduceCrossColorYUY2(n, env);
  return ReduceCrossColorPlanar(n, env);
}

// The frame passes run the chosen kernels inside the core; these give the same marks.
void CrossColorFilter::BuildEdgeMaskYUY2(const uint8_t* srcRow, uint8_t* mask, int rowSize) const {
  BuildEdgeMaskYUY2Portable(srcRow, mask, rowSize, settings_.ThresholdY, settings_.Margin);
}

void CrossColorFilter::BuildEdgeMaskPlanar(const uint8_t* lumaRow, uint8_t* mask,
                                           int chromaRowSize) const {
  BuildEdgeMaskPlanarPortable(lumaRow, mask, chromaRowSize, settings_.ThresholdY,
                              settings_.Margin);
}

bool CrossColorFilter::BlockSadPlanar(const uint8_t* cand, const uint8_t* refBlock, int shift,
                                      int* best) const {
  return velmire::BlockSadPlanar(cand, refBlock, shift, best);
}

void CrossColorFilter::BlockSadYUY2(const uint8_t* cand, const uint8_t* refBlock, int shift,
                                    int* best, const uint8_t** bestPos) const {
  velmire::BlockSadYUY2(cand, refBlock, shift, best, bestPos);
}

}  // namespace velmire
