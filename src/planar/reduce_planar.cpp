// The planar (YV12 / I420) frame pass: frame n, its neighbours and a writable copy in; the copy
// out, with the chroma of marked blocks corrected (or the mask painted in Debug mode).
#include "plugin/filter.h"
#include "plugin/pass_frames.h"

namespace velmire {

PVideoFrame CrossColorFilter::ReduceCrossColorPlanar(int n, IScriptEnvironment* env) {
  PassFrames frames = AcquirePassFrames(child, n, /*planar=*/true, env);
  const int chromaWidth = frames.source->GetRowSize(PLANAR_U);
  std::unique_ptr<uint8_t[]> mask = AllocateMask(chromaWidth, frames, env);
  // Row loop: comes with the planar pass.
  return std::move(frames.output);
}

}  // namespace velmire
