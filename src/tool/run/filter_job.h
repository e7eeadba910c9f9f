// One run of the filter over a stream: read the input, filter it with a number of frames at
// once, write the output in order, and optionally a comparison picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/settings.h"
#include "core/kernel_set.h"
#include "tool/run/frame_memory_budget.h"
#include "tool/run/frame_range.h"

namespace velmire::cli {

// --compare FRAME:FILE.png: a picture of one frame beside the video.
struct CompareRequest {
  std::int64_t frame = 0;
  std::string path;
};

struct FilterJob {
  std::string input = "-";
  std::string output = "-";
  Settings settings;        // as given; clamped by the filter
  const KernelSet* kernels = nullptr;  // null: the fastest the processor runs
  std::string plugin_path;  // non-empty: run this 2.5 plug-in library instead of the core
  int threads = 1;  // lowered when the frames in flight would not fit in frame_memory_bytes
  std::uint64_t frame_memory_bytes = kDefaultFrameMemoryMiB << 20;
  std::optional<CompareRequest> compare;
  std::optional<FrameRange> frames;  // only these frames are filtered and written
  bool progress = false;
};

struct FilterJobResult {
  std::int64_t frames = 0;
  double seconds = 0.0;
  std::size_t peak_source_frames = 0;  // largest number of input frames held at once
};

// Throws CliError or host::HostError with one line. A named output file is put in place only
// when the input was read to its end, or to the last complete frame before a break in it (then
// the error about the input is thrown after). Any other failure (the comparison picture cannot
// be written, a write fails, the filter fails) leaves a named output file as it was before the
// run, or not there at all. A comparison picture that cannot be written is refused before any
// frame is filtered; one of a frame past the end is reported after the complete output.
// With `frames`, the output holds those frames of the clip, each as a run over the whole clip
// makes it; a named output file is put in place only when it holds all of them.
FilterJobResult RunFilterJob(const FilterJob& job);

}  // namespace velmire::cli
