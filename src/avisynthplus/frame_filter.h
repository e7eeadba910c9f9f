// One Velmire filter in AviSynth+: what it was created with, and the C interface callbacks.
#pragma once

#include "avisynthplus/c_api.h"
#include "base/frame_view.h"
#include "base/settings.h"
#include "core/kernel_set.h"

namespace velmire::avisynthplus {

struct FrameFilter {
  SampleFormat format;
  Settings settings;
  const KernelSet* kernels;
};

// Output frame n from child frames n-1, n and n+1 (n-2 to n+2 in the stronger mode). They are
// asked for unclamped, as the 2.5
// plug-in does: AviSynth+ puts a cache in front of every clip, and it clamps the frame number.
// The output is a new frame with frame n's properties.
AVS_VideoFrame* AVSC_CC GetFilteredFrame(AVS_FilterInfo* fi, int n);

// Answers the MT-mode query with AVS_MT_MULTI_INSTANCE: the C interface keeps one error field
// per filter (and one per child clip), written by every GetFrame call, so one filter instance
// must not run two frames at once. With one instance per thread, each only ever runs one.
int AVSC_CC AnswerCacheHints(AVS_FilterInfo* fi, int cachehints, int frameRange);

void AVSC_CC FreeFrameFilter(AVS_FilterInfo* fi);

}  // namespace velmire::avisynthplus
