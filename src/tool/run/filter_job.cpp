#include "tool/run/filter_job.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <utility>

#include "tool/routes/frame_filter.h"
#include "tool/run/frame_segment.h"
#include "tool/run/interrupt_cleanup.h"
#include "tool/compare/comparison_picture.h"
#include "tool/compare/png_writer.h"
#include "tool/run/output_file.h"
#include "tool/run/progress_reporter.h"
#include "tool/run/run_fingerprint.h"
#include "tool/run/segment_input.h"
#include "tool/routes/stream_frame_window.h"
#include "tool/errors/cli_error.h"
#include "tool/pipeline/frame_pipeline.h"
#include "tool/y4m/stream_frame_view.h"
#include "tool/y4m/y4m_reader.h"
#include "tool/y4m/segment_tag.h"
#include "tool/y4m/y4m_writer.h"

namespace velmire::cli {
namespace {

std::unique_ptr<FrameFilter> MakeFilter(const FilterJob& job, StreamFrameWindow& window) {
  if (!job.plugin_path.empty()) return MakePluginFilter(window, job.settings, job.plugin_path);
  return MakeCoreFilter(window, job.settings, job.kernels ? *job.kernels : BestKernels());
}

void WriteComparison(StreamFrameWindow& window, FrameFilter& filter, std::int64_t n,
                     const Y4mFrame& output, const std::string& path) {
  const FrameGeometry& g = window.header().geometry;
  const std::shared_ptr<const Y4mFrame> input = window.Frame(n);
  const std::vector<std::uint8_t> debug = filter.Filter(n, /*debug=*/true);
  WritePng(path, ComposeComparison(ViewStreamFrame(g, input->data.data()),
                                   ViewStreamFrame(g, output.data.data()),
                                   ViewStreamFrame(g, debug.data()), n));
}

}  // namespace

FilterJobResult RunFilterJob(const FilterJob& job) {
  if (job.compare) CheckPictureWritable(job.compare->path);
  const FrameSegment segment(job.frames);
  // The filter reads this many frames on either side of each frame it makes.
  const int beside = Settings::Clamped(job.settings).FramesEitherSide();
  SegmentInput input = OpenSegmentInput(job.input, job.frames, beside);
  StreamFrameWindow window(std::move(input.stream), std::move(input.reader), input.first_needed);
  const Y4mHeader& header = window.header();
  const std::unique_ptr<FrameFilter> filter = MakeFilter(job, window);

  // A segment says in its header which frames of which run it holds; a whole run says nothing.
  std::optional<SegmentTag> tag;
  if (job.frames) {
    const std::shared_ptr<const Y4mFrame> first =
        input.first_frame ? std::make_shared<const Y4mFrame>(std::move(*input.first_frame))
                          : window.Frame(0);
    tag = segment.Tag(input.clip_frames, RunFingerprint(header.line, first.get(), job.settings));
  }
  Y4mHeader output_header = header;
  output_header.line = HeaderWithSegmentTag(header.line, tag);

  OutputFile output(job.output, segment.IncompleteReason());
  Y4mWriter writer(output, output_header);
  writer.WriteHeader();
  std::optional<ProgressReporter> progress;
  if (job.progress) {
    progress.emplace(std::cerr, segment.Length(input.clip_frames ? input.clip_frames
                                                                 : window.total_frames()));
    progress->set_label(segment.ProgressLabel());
  }

  // The pipeline counts the frames it writes from 0: its frame i is frame first() + i of the clip.
  const auto clip_frame = [&](std::int64_t i) { return segment.first() + i; };
  FrameStages stages;
  stages.frame_exists = [&](std::int64_t i) {
    return segment.Wants(clip_frame(i)) && window.HasFrame(clip_frame(i));
  };
  stages.produce = [&](std::int64_t i) {
    const std::int64_t n = clip_frame(i);
    Y4mFrame frame;
    frame.frame_line = window.Frame(n)->frame_line;
    frame.data = filter->Filter(n, job.settings.Debug);
    if (job.compare && job.compare->frame == n) {
      WriteComparison(window, *filter, n, frame, job.compare->path);
    }
    return frame;
  };
  stages.consume = [&](std::int64_t i, const Y4mFrame& frame) {
    {
      const InterruptDeferral whole_frame;
      writer.WriteFrame(frame);
      output.MarkFrameWritten();
    }
    // Frames still to come need at most their `beside` predecessors from the source.
    window.ReleaseBefore(clip_frame(i) + 1 - beside);
    if (progress) progress->Update(i + 1);
  };

  const FrameWindow in_flight = FitFramesInMemory(job.threads, header.geometry.frame_bytes(),
                                                   job.frame_memory_bytes, beside);
  const auto start = std::chrono::steady_clock::now();
  FilterJobResult result;
  // On an exception the output is dropped: the run failed, not the input.
  result.frames = RunFramePipeline(in_flight.threads, stages, in_flight.frames_in_flight);
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.peak_source_frames = window.PeakFramesHeld();
  if (progress) progress->Finish(result.frames);
  segment.CheckComplete(result.frames, window, output);
  output.Commit();

  if (const std::optional<std::string> error = window.InputError()) throw InputError(*error);
  const std::int64_t clip_end = clip_frame(result.frames);
  if (job.compare && job.compare->frame >= clip_end) {
    throw CliError("picture: '" + job.compare->path + "' was not written: frame " +
                   std::to_string(job.compare->frame) + " is past the end of the clip (" +
                   std::to_string(clip_end) +
                   " frames, counted from 0); the video was written in full");
  }
  return result;
}

}  // namespace velmire::cli
