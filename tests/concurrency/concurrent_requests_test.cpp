// One filter asked for frames from many threads at once, in random order and repeatedly,
// gives exactly what sequential requests give.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>
#include <vector>

#include "plugin/filter.h"
#include "support/test_clips.h"

namespace velmire {
namespace {

using Planes = std::vector<std::vector<uint8_t>>;

Planes Snapshot(const PVideoFrame& frame) {
  Planes planes{testing::PlaneBytes(frame, PLANAR_Y)};
  if (frame->GetPitch(PLANAR_U)) {
    planes.push_back(testing::PlaneBytes(frame, PLANAR_U));
    planes.push_back(testing::PlaneBytes(frame, PLANAR_V));
  }
  return planes;
}

// Stripes that make steep luma ramps, with chroma that differs from frame to frame, so that
// the searches find matches and the corrections change bytes.
testing::PixelFill StripedScene() {
  return [](int frame, int plane, int x, int y) -> uint8_t {
    if (plane == PLANAR_Y) return static_cast<uint8_t>((x * 37 + y * 11 + frame * 5) % 3 * 100);
    return static_cast<uint8_t>(128 + ((x + y + frame) % 2 ? 40 : -40));
  };
}

class ConcurrentRequests : public ::testing::TestWithParam<int> {};

TEST_P(ConcurrentRequests, MatchSequentialRequests) {
  constexpr int kFrames = 12;
  constexpr int kThreads = 8;
  constexpr int kRounds = 3;
  host::ScriptEnvironment env;
  const VideoInfo vi = testing::MakeVideoInfo(GetParam(), 96, 24, kFrames);
  const PClip source = testing::MakeClip(env, vi, StripedScene());
  const PClip filter(new CrossColorFilter(source, 10, 200, 1, false, &env));

  std::vector<Planes> expected;
  for (int n = 0; n < kFrames; ++n) expected.push_back(Snapshot(filter->GetFrame(n, &env)));

  std::vector<int> mismatches(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 rng(static_cast<unsigned>(t) * 7919u + 1u);
      std::vector<int> order;
      for (int r = 0; r < kRounds; ++r)
        for (int n = 0; n < kFrames; ++n) order.push_back(n);
      std::shuffle(order.begin(), order.end(), rng);
      for (const int n : order)
        if (Snapshot(filter->GetFrame(n, &env)) != expected[static_cast<size_t>(n)]) ++mismatches[t];
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
  EXPECT_EQ(env.frames().LiveFrames(), static_cast<size_t>(kFrames));  // the source's own frames
}

INSTANTIATE_TEST_SUITE_P(Layouts, ConcurrentRequests,
                         ::testing::Values(VideoInfo::CS_YUY2, VideoInfo::CS_YV12,
                                           VideoInfo::CS_I420),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return param.param == VideoInfo::CS_YUY2   ? "YUY2"
                                  : param.param == VideoInfo::CS_YV12 ? "YV12"
                                                                     : "I420";
                         });

}  // namespace
}  // namespace velmire
