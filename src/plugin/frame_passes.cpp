// The filter's two frame passes: each fetches frames n, n-1 and n+1 through the host and a
// writable copy of frame n, then lets the core correct the copy.
#include "plugin/filter.h"
#include "plugin/frame_views.h"
#include "plugin/pass_frames.h"

namespace velmire {

PVideoFrame CrossColorFilter::ReduceCrossColorYUY2(int n, IScriptEnvironment* env) {
  PassFrames frames = AcquirePassFrames(child, n, /*planar=*/false, env);
  std::unique_ptr<uint8_t[]> mask = AllocateMask(frames.source->GetRowSize(), frames, env);
  velmire::ReduceCrossColorYUY2(
      settings_, kernels_->Yuy2(), ViewOf(*frames.previous, false).y,
      ViewOf(*frames.source, false).y, ViewOf(*frames.next, false).y,
      WritableViewOf(*frames.output, false).y, mask.get());
  return std::move(frames.output);
}

PVideoFrame CrossColorFilter::ReduceCrossColorPlanar(int n, IScriptEnvironment* env) {
  PassFrames frames = AcquirePassFrames(child, n, /*planar=*/true, env);
  std::unique_ptr<uint8_t[]> mask =
      AllocateMask(frames.source->GetRowSize(PLANAR_U), frames, env);
  velmire::ReduceCrossColorPlanar(settings_, kernels_->Planar(), ViewOf(*frames.previous, true),
                                  ViewOf(*frames.source, true), ViewOf(*frames.next, true),
                                  WritableViewOf(*frames.output, true), mask.get());
  return std::move(frames.output);
}

}  // namespace velmire
