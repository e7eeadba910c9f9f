// Runs frames through a stage that may work on several frames at once and hands the results
// on strictly in frame order. At most a fixed number of frames are in flight or waiting to be
// handed on (two per thread unless told otherwise), so memory does not grow with the length
// of the clip.
#pragma once

#include <cstdint>
#include <functional>

#include "tool/y4m/y4m_frame.h"

namespace velmire::cli {

struct FrameStages {
  // Whether frame n exists (may read ahead; called for increasing n from any thread).
  std::function<bool(std::int64_t n)> frame_exists;
  // Makes output frame n; called on several threads at once.
  std::function<Y4mFrame(std::int64_t n)> produce;
  // Receives the frames in order 0, 1, 2, ...; called on the calling thread only.
  std::function<void(std::int64_t n, const Y4mFrame& frame)> consume;
};

// Returns the number of frames consumed: every frame up to the first that does not exist.
// If producing frame k fails, frames before k are still consumed, then the error is rethrown;
// if consuming fails, everything stops at once and that error is rethrown. At most
// `frames_in_flight` frames are being produced or waiting to be consumed (0: two per thread).
std::int64_t RunFramePipeline(int threads, const FrameStages& stages,
                              std::int64_t frames_in_flight = 0);

}  // namespace velmire::cli
