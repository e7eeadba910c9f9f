#include "lab/sweep/settings_sweep.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>

#include "tool/routes/stream_frame_filter.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {
namespace {

using Frames = std::vector<std::vector<std::uint8_t>>;

// A pass over the clip takes a few hundredths of a second, so other work on the machine can
// easily halve one measurement; the fastest of several passes is the steadier figure. Passes
// are repeated only while they are that quick, so slow (instrumented) builds make one. The
// sweep runs every row on sixteen clips, so a row gets three passes at most.
constexpr int kMaxTimedPasses = 3;
constexpr double kRepeatBudgetSeconds = 0.1;

// Filters every frame of `clip` into `outputs` (one slot per frame); returns the seconds it
// took. The first and last frames stand in for their missing neighbours.
double FilterInto(const StoredDemoClip& clip, const FrameGeometry& g, const Settings& settings,
                  const KernelSet& kernels, int threads, Frames& outputs) {
  const std::int64_t frames = std::int64_t(outputs.size());
  auto frame = [&](std::int64_t n) {
    return clip.decoded[std::size_t(std::clamp<std::int64_t>(n, 0, frames - 1))].data();
  };
  FrameStages stages;
  stages.frame_exists = [&](std::int64_t n) { return n < frames; };
  stages.produce = [&](std::int64_t n) {
    // Each frame has its own slot, so the threads never write to the same bytes.
    // Frames n-2 and n+2 only where both exist, as the front-ends hand them in.
    const bool outer = n >= 2 && n + 2 < frames;
    outputs[std::size_t(n)] =
        FilterStreamFrame(g, settings, kernels, frame(n - 1), frame(n), frame(n + 1),
                          outer ? frame(n - 2) : nullptr, outer ? frame(n + 2) : nullptr);
    return Y4mFrame{};
  };
  stages.consume = [](std::int64_t, const Y4mFrame&) {};
  const auto start = std::chrono::steady_clock::now();
  RunFramePipeline(threads, stages);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

DemoJudgement Judge(const StoredDemoClip& clip, const FrameGeometry& g, const Frames& outputs) {
  DemoJudgementTally tally;
  for (const std::size_t t : FramesToJudge(clip)) {
    tally.Add(ViewStreamFrame(g, clip.decoded[t].data()), ViewStreamFrame(g, outputs[t].data()),
              ViewStreamFrame(g, clip.clean[t].data()), clip.detail_masks[t].data());
  }
  return tally.Result();
}

}  // namespace

std::vector<SweepRow> SweepSettings(const StoredDemoClip& clip, const std::vector<Settings>& grid,
                                    const KernelSet& kernels, int threads) {
  const FrameGeometry g = ParseY4mHeader(clip.header_line).geometry;
  const std::size_t frames = clip.decoded.size();

  Frames outputs(frames);
  std::vector<SweepRow> rows;
  for (const Settings& given : grid) {
    const Settings settings = Settings::Clamped(given);
    double seconds = FilterInto(clip, g, settings, kernels, threads, outputs);
    double spent = seconds;
    for (int pass = 1; pass < kMaxTimedPasses && spent < kRepeatBudgetSeconds; ++pass) {
      const double again = FilterInto(clip, g, settings, kernels, threads, outputs);
      seconds = std::min(seconds, again);
      spent += again;
    }
    rows.push_back(SweepRow{given, Judge(clip, g, outputs),
                            seconds > 0.0 ? double(frames) / seconds : 0.0});
  }
  return rows;
}

}  // namespace velmire::lab
