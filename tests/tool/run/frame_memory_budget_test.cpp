// The memory budget for frames lowers the number of threads, never below one frame at a time.
#include <gtest/gtest.h>

#include "tool/run/frame_memory_budget.h"

namespace velmire::cli {
namespace {

TEST(FrameMemoryBudget, LowersThreadsToFitAndNeverStopsTheRun) {
  constexpr std::uint64_t kMiB = std::uint64_t(1) << 20;
  struct Case {
    int threads;
    std::size_t frame_bytes;
    std::uint64_t budget;
    FrameWindow expected;
    int beside = 1;  // frames read on either side: 2 in the stronger mode
  };
  const Case cases[] = {
      {2, 720 * 480 * 3 / 2, 512 * kMiB, {2, 4}},    // SD: the budget changes nothing
      {256, 720 * 480 * 2, 512 * kMiB, {154, 308}},  // 776 frames fit: 5 * 154 + 2 of them
      {64, 3840 * 2160 * 2, 512 * kMiB, {6, 12}},    // 4K 4:2:2: 32 frames of 16.6 MB fit
      {64, 7680 * 4320 * 2, 512 * kMiB, {1, 2}},     // 8K 4:2:2: 8 frames of 66 MB fit
      {64, 7680 * 4320 * 2, 64 * kMiB, {1, 1}},      // not one frame fits: one at a time
      {0, 720 * 480 * 2, 512 * kMiB, {1, 2}},
      {64, 3840 * 2160 * 2, 512 * kMiB, {5, 10}, 2},  // 32 frames fit: 5 * 5 + 4 of them
      {64, 7680 * 4320 * 2, 512 * kMiB, {1, 1}, 2},   // 8 frames: not 5 + 4
  };
  for (const Case& c : cases) {
    const FrameWindow w = FitFramesInMemory(c.threads, c.frame_bytes, c.budget, c.beside);
    EXPECT_EQ(w.threads, c.expected.threads) << c.threads << " threads, " << c.frame_bytes;
    EXPECT_EQ(w.frames_in_flight, c.expected.frames_in_flight) << c.frame_bytes;
    if (w.frames_in_flight > 1) {
      EXPECT_LE(FrameWindowBytes(w, c.frame_bytes), c.budget);
    }
    if (w.threads < c.threads) {
      const FrameWindow one_more{w.threads + 1, 2 * std::int64_t(w.threads + 1), c.beside};
      EXPECT_GT(FrameWindowBytes(one_more, c.frame_bytes), c.budget);
    }
  }
}

}  // namespace
}  // namespace velmire::cli
