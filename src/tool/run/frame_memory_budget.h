// How many frames the tool filters at once, within a budget of memory for the frames it holds,
// so that many threads on large frames cannot take the machine's memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmire::cli {

inline constexpr std::uint64_t kDefaultFrameMemoryMiB = 512;

struct FrameWindow {
  int threads = 1;                    // frames filtered at the same time
  std::int64_t frames_in_flight = 2;  // frames being filtered or waiting to be written
  int frames_either_side = 1;         // input frames read beside each (Settings::FramesEitherSide)
};

// Bytes of frames held with a window: every frame in flight holds its output, every thread the
// frame it is making, and the input frames are those in flight plus frames_either_side on
// either side.
std::uint64_t FrameWindowBytes(const FrameWindow& window, std::size_t frame_bytes);

// `threads` threads with two frames in flight each, or fewer threads when that would hold more
// than `budget_bytes`, for a filter that reads `frames_either_side` frames beside each. A
// budget too small even for one thread gives one frame at a time on one thread (its input
// frames and its output): the run gets slower, it does not fail.
FrameWindow FitFramesInMemory(int threads, std::size_t frame_bytes, std::uint64_t budget_bytes,
                              int frames_either_side = 1);

}  // namespace velmire::cli
