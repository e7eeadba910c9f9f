#include "tool/run/frame_memory_budget.h"

#include <algorithm>

namespace velmire::cli {

std::uint64_t FrameWindowBytes(const FrameWindow& window, std::size_t frame_bytes) {
  const std::uint64_t inputs =
      std::uint64_t(window.frames_in_flight) + 2 * std::uint64_t(window.frames_either_side);
  const std::uint64_t outputs = std::uint64_t(window.frames_in_flight);
  const std::uint64_t being_made = std::uint64_t(window.threads);
  return (inputs + outputs + being_made) * frame_bytes;
}

FrameWindow FitFramesInMemory(int threads, std::size_t frame_bytes, std::uint64_t budget_bytes,
                              int frames_either_side) {
  // With two frames in flight per thread, t threads hold (5t + 2 s) frames, s frames read on
  // either side.
  const std::uint64_t beside = 2 * std::uint64_t(frames_either_side);
  const std::uint64_t frames = budget_bytes / std::max<std::size_t>(frame_bytes, 1);
  const std::uint64_t fitting_threads = frames >= beside ? (frames - beside) / 5 : 0;
  const int t = int(std::min<std::uint64_t>(std::uint64_t(std::max(threads, 1)), fitting_threads));
  if (t < 1) return FrameWindow{1, 1, frames_either_side};
  return FrameWindow{t, 2 * std::int64_t(t), frames_either_side};
}

}  // namespace velmire::cli
