// The filter's two frame passes: each fetches frames n, n-1 and n+1 through the host and a
// writable copy of frame n, then lets the core correct the copy.
#include <new>

#include "core/cross_color.h"
#include "plugin/filter.h"
#include "plugin/frame_views.h"
#include "plugin/pass_frames.h"

namespace velmire {

PVideoFrame CrossColorFilter::ReduceCrossColorYUY2(int n, IScriptEnvironment* env) {
  return ReduceFrame(n, SampleFormat{Layout::kYUY2, 8}, env);
}

PVideoFrame CrossColorFilter::ReduceCrossColorPlanar(int n, IScriptEnvironment* env) {
  return ReduceFrame(n, SampleFormat{Layout::kPlanar420, 8}, env);
}

PVideoFrame CrossColorFilter::ReduceFrame(int n, const SampleFormat& format,
                                          IScriptEnvironment* env) {
  const bool planar = format.layout != Layout::kYUY2;
  PassFrames frames = AcquirePassFrames(child, n, planar, env);
  bool allocated = true;
  try {
    ReduceCrossColor(format, settings_, *kernels_, ViewOf(*frames.previous, format),
                     ViewOf(*frames.source, format), ViewOf(*frames.next, format),
                     WritableViewOf(*frames.output, format));
  } catch (const std::bad_alloc&) {
    allocated = false;
  }
  // The host's error is raised outside the handler, with every handle released.
  if (!allocated) {
    const int maskSize = frames.source->GetRowSize(planar ? PLANAR_U : PLANAR_Y);
    frames = PassFrames{};
    env->ThrowError("%s : not enough memory for the edge mask of %d bytes", kFunctionName,
                    maskSize);
  }
  return std::move(frames.output);
}

}  // namespace velmire
