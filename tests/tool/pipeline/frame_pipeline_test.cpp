// The frame pipeline: order, bounded look-ahead, and what is handed on when a frame fails.
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tool/pipeline/frame_pipeline.h"

namespace velmire::cli {
namespace {

struct Trace {
  std::vector<std::int64_t> consumed;
  std::atomic<std::int64_t> highest_started{-1};
  std::int64_t max_ahead = 0;  // furthest a started frame was past the next to consume
};

FrameStages MakeStages(Trace& trace, std::int64_t length, std::int64_t failing = -1) {
  FrameStages s;
  s.frame_exists = [length](std::int64_t n) { return n < length; };
  s.produce = [&trace, failing](std::int64_t n) {
    std::int64_t seen = trace.highest_started.load();
    while (n > seen && !trace.highest_started.compare_exchange_weak(seen, n)) {
    }
    // Later frames finish sooner, so the output order must come from the pipeline.
    std::this_thread::sleep_for(std::chrono::microseconds(50 * (n % 4)));
    if (n == failing) throw std::runtime_error("frame " + std::to_string(n) + " failed");
    return Y4mFrame{"FRAME " + std::to_string(n), {}};
  };
  s.consume = [&trace](std::int64_t n, const Y4mFrame& frame) {
    EXPECT_EQ(frame.frame_line, "FRAME " + std::to_string(n));
    trace.max_ahead = std::max(trace.max_ahead, trace.highest_started.load() - n);
    trace.consumed.push_back(n);
  };
  return s;
}

TEST(FramePipeline, HandsFramesOnInOrderWithBoundedLookAheadOnAnyNumberOfThreads) {
  for (int threads : {1, 2, 4, 7}) {
    Trace trace;
    EXPECT_EQ(RunFramePipeline(threads, MakeStages(trace, 50)), 50);
    ASSERT_EQ(trace.consumed.size(), 50u);
    for (std::int64_t i = 0; i < 50; ++i) EXPECT_EQ(trace.consumed[std::size_t(i)], i);
    EXPECT_LT(trace.max_ahead, 2 * threads) << threads << " threads";
  }
  Trace empty;
  EXPECT_EQ(RunFramePipeline(3, MakeStages(empty, 0)), 0);
}

TEST(FramePipeline, AFailedFrameEndsTheRunAfterTheFramesBeforeIt) {
  for (int threads : {1, 3}) {
    Trace trace;
    EXPECT_THROW(
        {
          try {
            RunFramePipeline(threads, MakeStages(trace, 40, 17));
          } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "frame 17 failed");
            throw;
          }
        },
        std::runtime_error);
    EXPECT_EQ(trace.consumed.size(), 17u);
  }
}

TEST(FramePipeline, AFailedConsumerStopsAtOnce) {
  Trace trace;
  FrameStages s = MakeStages(trace, 1000000);
  s.consume = [](std::int64_t n, const Y4mFrame&) {
    if (n == 5) throw std::runtime_error("disk full");
  };
  EXPECT_THROW(RunFramePipeline(4, s), std::runtime_error);
  EXPECT_LT(trace.highest_started.load(), 5 + 8 + 1);
}

}  // namespace
}  // namespace velmire::cli
