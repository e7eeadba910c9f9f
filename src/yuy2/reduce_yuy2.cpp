// The YUY2 frame pass: frame n, its neighbours and a writable copy in; the copy out, with the
// chroma of marked blocks corrected (or the mask painted in Debug mode).
#include "plugin/filter.h"
#include "plugin/pass_frames.h"

namespace velmire {

PVideoFrame CrossColorFilter::ReduceCrossColorYUY2(int n, IScriptEnvironment* env) {
  PassFrames frames = AcquirePassFrames(child, n, /*planar=*/false, env);
  const int rowSize = frames.source->GetRowSize();
  std::unique_ptr<uint8_t[]> mask = AllocateMask(rowSize, frames, env);
  // Row loop: comes with the YUY2 pass.
  return std::move(frames.output);
}

}  // namespace velmire
