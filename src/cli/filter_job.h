// One run of the filter over a stream: read the input, filter it through the plug-in with a
// number of frames at once, write the output in order, and optionally a comparison picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli_options.h"

namespace velmire::cli {

struct FilterJob {
  std::string input = "-";
  std::string output = "-";
  std::string plugin_path;  // resolved path of the library
  int threshold_y = 30;
  int noise = 60;
  int margin = 1;
  bool debug = false;
  int threads = 1;
  std::optional<CompareRequest> compare;
  bool progress = false;
};

// A job with the command line's script arguments, plug-in and thread count; input, output,
// comparison picture and progress are left to the caller.
FilterJob JobWithSettingsOf(const CliOptions& options, const std::string& plugin_path,
                            int threads);

struct FilterJobResult {
  std::int64_t frames = 0;
  double seconds = 0.0;
  std::size_t peak_source_frames = 0;  // largest number of input frames held at once
};

// Throws CliError or host::HostError with one line. When the input breaks off mid-stream (or
// the filter fails on a frame), the output is completed with every frame before it, as a valid
// stream, and then the error is thrown. When writing fails, a named output file is left as it
// was before the run.
FilterJobResult RunFilterJob(const FilterJob& job);

}  // namespace velmire::cli
