// One Velmire node: what it was created with, and its frame and free callbacks. The instance
// data never changes after creation, so the node runs fmParallel.
#pragma once

#include <VapourSynth4.h>

#include "base/frame_view.h"
#include "base/settings.h"
#include "core/kernel_set.h"

namespace velmire::vapoursynth {

struct FrameFilter {
  VSNode* clip;  // owned: freed with the filter
  int lastFrame;
  SampleFormat format;
  Settings settings;
  const KernelSet* kernels;
};

// Output frame n from input frames n-1, n and n+1 (n-2 to n+2 in the stronger mode), the
// neighbours clamped to the clip. The
// output shares frame n's luma plane and properties; its chroma is copied, then filtered.
const VSFrame* VS_CC GetFilteredFrame(int n, int activationReason, void* instanceData,
                                      void** frameData, VSFrameContext* frameCtx, VSCore* core,
                                      const VSAPI* vsapi);

void VS_CC FreeFrameFilter(void* instanceData, VSCore* core, const VSAPI* vsapi);

}  // namespace velmire::vapoursynth
