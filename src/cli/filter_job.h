// One run of the filter over a stream: read the input, filter it through the plug-in with a
// number of frames at once, write the output in order, and optionally a comparison picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "cli/frame_memory_budget.h"

namespace velmire::cli {

struct FilterJob {
  std::string input = "-";
  std::string output = "-";
  std::string plugin_path;  // resolved path of the library
  int threshold_y = 30;
  int noise = 60;
  int margin = 1;
  bool debug = false;
  int threads = 1;  // lowered when the frames in flight would not fit in frame_memory_bytes
  std::uint64_t frame_memory_bytes = kDefaultFrameMemoryMiB << 20;
  std::optional<CompareRequest> compare;
  bool progress = false;
};

// A job with the command line's script arguments, plug-in, thread count and memory budget;
// input, output, comparison picture and progress are left to the caller.
FilterJob JobWithSettingsOf(const CliOptions& options, const std::string& plugin_path,
                            int threads);

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
FilterJobResult RunFilterJob(const FilterJob& job);

}  // namespace velmire::cli
