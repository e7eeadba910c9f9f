#include "cli/filter_job.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <utility>

#include "cli/cli_error.h"
#include "cli/comparison_picture.h"
#include "cli/filter_invocation.h"
#include "cli/frame_pipeline.h"
#include "cli/host_frames.h"
#include "cli/input_file.h"
#include "cli/interrupt_cleanup.h"
#include "cli/output_file.h"
#include "cli/plane_view.h"
#include "cli/png_writer.h"
#include "cli/progress_reporter.h"
#include "cli/streaming_source_clip.h"
#include "cli/y4m_reader.h"
#include "cli/y4m_writer.h"
#include "host/script_environment.h"

namespace velmire::cli {
namespace {

PClip InvokeFilter(host::ScriptEnvironment& env, const PClip& source, const FilterJob& job,
                   bool debug) {
  return InvokeVelmire(env, source, ScriptSettings{job.threshold_y, job.noise, job.margin, debug});
}

std::vector<std::uint8_t> StreamBytes(const PVideoFrame& frame, const FrameGeometry& g) {
  std::vector<std::uint8_t> bytes(g.frame_bytes());
  FromHostFrame(*frame, g, bytes.data());
  return bytes;
}

void WriteComparison(host::ScriptEnvironment& env, const PClip& source, const PClip& debug_clip,
                     std::int64_t n, const Y4mFrame& output, const FrameGeometry& g,
                     const std::string& path) {
  const int frame_number = static_cast<int>(n);
  const std::vector<std::uint8_t> input = StreamBytes(source->GetFrame(frame_number, &env), g);
  const std::vector<std::uint8_t> debug = StreamBytes(debug_clip->GetFrame(frame_number, &env), g);
  WritePng(path, ComposeComparison(ViewFrame(g, input.data()), ViewFrame(g, output.data.data()),
                                   ViewFrame(g, debug.data()), n));
}

}  // namespace

FilterJob JobWithSettingsOf(const CliOptions& options, const std::string& plugin_path,
                            int threads) {
  FilterJob job;
  job.plugin_path = plugin_path;
  job.threshold_y = options.threshold_y;
  job.noise = options.noise;
  job.margin = options.margin;
  job.debug = options.debug;
  job.threads = threads;
  job.frame_memory_bytes = options.frame_memory_mib << 20;
  return job;
}

FilterJobResult RunFilterJob(const FilterJob& job) {
  if (job.compare) CheckPictureWritable(job.compare->path);
  auto input = std::make_unique<InputFile>(job.input);
  auto reader = std::make_unique<Y4mReader>(*input);
  const Y4mHeader header = reader->header();
  const FrameGeometry g = header.geometry;
  const std::optional<std::int64_t> total = reader->total_frames();

  // The environment outlives every clip and frame made below.
  host::ScriptEnvironment env;
  env.LoadPlugin(job.plugin_path);
  auto* source_clip = new StreamingSourceClip(std::move(input), std::move(reader), env);
  const PClip source(source_clip);
  const PClip filtered = InvokeFilter(env, source, job, job.debug);
  const PClip debug_clip = job.compare ? InvokeFilter(env, source, job, true) : PClip();

  OutputFile output(job.output);
  Y4mWriter writer(output, header);
  writer.WriteHeader();
  std::optional<ProgressReporter> progress;
  if (job.progress) progress.emplace(std::cerr, total);

  FrameStages stages;
  stages.frame_exists = [&](std::int64_t n) { return source_clip->HasFrame(n); };
  stages.produce = [&](std::int64_t n) {
    Y4mFrame frame;
    frame.frame_line = source_clip->FrameLine(n);
    frame.data = StreamBytes(filtered->GetFrame(static_cast<int>(n), &env), g);
    if (job.compare && job.compare->frame == n) {
      WriteComparison(env, source, debug_clip, n, frame, g, job.compare->path);
    }
    return frame;
  };
  stages.consume = [&](std::int64_t n, const Y4mFrame& frame) {
    {
      const InterruptDeferral whole_frame;
      writer.WriteFrame(frame);
      output.MarkFrameWritten();
    }
    // Frames still to come need at most their predecessor from the source.
    source_clip->ReleaseBefore(n);
    if (progress) progress->Update(n + 1);
  };

  const FrameWindow window =
      FitFramesInMemory(job.threads, g.frame_bytes(), job.frame_memory_bytes);
  const auto start = std::chrono::steady_clock::now();
  FilterJobResult result;
  // On an exception the output is dropped: the run failed, not the input.
  result.frames = RunFramePipeline(window.threads, stages, window.frames_in_flight);
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.peak_source_frames = source_clip->PeakFramesHeld();
  if (progress) progress->Finish(result.frames);
  output.Commit();

  if (const std::optional<std::string> error = source_clip->InputError()) throw InputError(*error);
  if (job.compare && job.compare->frame >= result.frames) {
    throw CliError("picture: '" + job.compare->path + "' was not written: frame " +
                   std::to_string(job.compare->frame) + " is past the end of the clip (" +
                   std::to_string(result.frames) +
                   " frames, counted from 0); the video was written in full");
  }
  return result;
}

}  // namespace velmire::cli
