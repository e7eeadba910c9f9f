// One run of the filter over a stream: read the input, filter it with a number of frames at
// once, write the output in order, and optionally a comparison picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/settings.h"
#include "core/kernel_set.h"
#include "tool/cli_options.h"

namespace velmire::cli {

struct FilterJob {
  std::string input = "-";
  std::string output = "-";
  Settings settings;        // as given; clamped by the filter
  const KernelSet* kernels = nullptr;  // null: the fastest the processor runs
  std::string plugin_path;  // non-empty: run this 2.5 plug-in library instead of the core
  int threads = 1;
  std::optional<CompareRequest> compare;
  bool progress = false;
};

// A job with the command line's settings, kernels, plug-in and thread count; input, output,
// comparison picture and progress are left to the caller.
FilterJob JobWithSettingsOf(const CliOptions& options, int threads);

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
