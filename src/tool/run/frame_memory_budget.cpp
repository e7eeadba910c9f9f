#include "tool/run/frame_memory_budget.h"

#include <algorithm>

namespace velmire::cli {

std::uint64_t FrameWindowBytes(const FrameWindow& window, std::size_t frame_bytes) {
  const std::uint64_t inputs = std::uint64_t(window.frames_in_flight) + 2;
  const std::uint64_t outputs = std::uint64_t(window.frames_in_flight);
  const std::uint64_t being_made = std::uint64_t(window.threads);
  return (inputs + outputs + being_made) * frame_bytes;
}

FrameWindow FitFramesInMemory(int threads, std::size_t frame_bytes, std::uint64_t budget_bytes) {
  // With two frames in flight per thread, t threads hold (5t + 2) frames.
  const std::uint64_t frames = budget_bytes / std::max<std::size_t>(frame_bytes, 1);
  const std::uint64_t fitting_threads = frames >= 2 ? (frames - 2) / 5 : 0;
  const int t = int(std::min<std::uint64_t>(std::uint64_t(std::max(threads, 1)), fitting_threads));
  if (t < 1) return FrameWindow{1, 1};
  return FrameWindow{t, 2 * std::int64_t(t)};
}

}  // namespace velmire::cli
