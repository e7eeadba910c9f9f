#include "cli/settings_sweep.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>

#include "cli/filter_invocation.h"
#include "cli/frame_pipeline.h"
#include "cli/host_frames.h"
#include "cli/plane_view.h"
#include "host/memory_clip.h"
#include "host/script_environment.h"

namespace velmire::cli {
namespace {

using Frames = std::vector<std::vector<std::uint8_t>>;

// A pass over the clip takes a few hundredths of a second, so other work on the machine can
// easily halve one measurement; the fastest of several passes is the steadier figure. Passes
// are repeated only while they are that quick, so slow (instrumented) builds make one. The
// sweep runs every row on sixteen clips, so a row gets three passes at most.
constexpr int kMaxTimedPasses = 3;
constexpr double kRepeatBudgetSeconds = 0.1;

// Filters every frame of `source` into `outputs` (one slot per frame, already sized);
// returns the seconds it took.
double FilterInto(host::ScriptEnvironment& env, const PClip& filtered, const FrameGeometry& g,
                  int threads, Frames& outputs) {
  const std::int64_t frames = std::int64_t(outputs.size());
  FrameStages stages;
  stages.frame_exists = [&](std::int64_t n) { return n < frames; };
  stages.produce = [&](std::int64_t n) {
    // Each frame has its own slot, so the threads never write to the same bytes.
    FromHostFrame(*filtered->GetFrame(static_cast<int>(n), &env), g,
                  outputs[std::size_t(n)].data());
    return Y4mFrame{};
  };
  stages.consume = [](std::int64_t, const Y4mFrame&) {};
  const auto start = std::chrono::steady_clock::now();
  RunFramePipeline(threads, stages);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

DemoJudgement Judge(const StoredDemoClip& clip, const FrameGeometry& g, const Frames& outputs) {
  DemoJudgementTally tally;
  for (std::size_t t = 0; t < outputs.size(); ++t) {
    tally.Add(ViewFrame(g, clip.decoded[t].data()), ViewFrame(g, outputs[t].data()),
              ViewFrame(g, clip.clean[t].data()), clip.detail_masks[t].data());
  }
  return tally.Result();
}

}  // namespace

std::vector<SweepRow> SweepSettings(const StoredDemoClip& clip,
                                    const std::vector<ScriptSettings>& grid,
                                    const std::string& plugin_path, int threads) {
  const Y4mHeader header = ParseY4mHeader(clip.header_line);
  const FrameGeometry g = header.geometry;
  const std::size_t frames = clip.decoded.size();

  // The environment outlives every clip and frame made below.
  host::ScriptEnvironment env;
  env.LoadPlugin(plugin_path);
  const VideoInfo vi = MakeVideoInfo(header, std::int64_t(frames));
  std::vector<PVideoFrame> source_frames;
  for (const std::vector<std::uint8_t>& data : clip.decoded) {
    source_frames.push_back(ToHostFrame(env, vi, g, data.data()));
  }
  const PClip source(new host::MemoryClip(vi, std::move(source_frames)));

  Frames outputs(frames, std::vector<std::uint8_t>(g.frame_bytes()));
  std::vector<SweepRow> rows;
  for (const ScriptSettings& settings : grid) {
    const PClip filtered = InvokeVelmire(env, source, settings);
    double seconds = FilterInto(env, filtered, g, threads, outputs);
    double spent = seconds;
    for (int pass = 1; pass < kMaxTimedPasses && spent < kRepeatBudgetSeconds; ++pass) {
      const double again = FilterInto(env, filtered, g, threads, outputs);
      seconds = std::min(seconds, again);
      spent += again;
    }
    rows.push_back(SweepRow{settings, Judge(clip, g, outputs),
                            seconds > 0.0 ? double(frames) / seconds : 0.0});
  }
  return rows;
}

}  // namespace velmire::cli
