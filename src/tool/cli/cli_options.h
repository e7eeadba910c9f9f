// The command line of the tool: velmire [options] [INPUT [OUTPUT]].
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.h"
#include "core/kernel_set.h"
#include "tool/run/filter_job.h"
#include "tool/run/frame_memory_budget.h"
#include "tool/run/frame_range.h"

namespace velmire::cli {

enum class CliAction { kRun, kConcat, kDemo, kSweep, kHelp, kVersion };

struct CliOptions {
  CliAction action = CliAction::kRun;
  // The filter settings as given (the filter clamps them).
  Settings settings;
  const KernelSet* kernels = nullptr;  // --kernels; null: the fastest the processor runs
  int threads = 0;               // frames filtered at once; 0 means one per core
  std::uint64_t frame_memory_mib = kDefaultFrameMemoryMiB;  // for the frames in flight
  std::string plugin_path;       // --plugin: a 2.5 plug-in library to run instead of the core
  std::optional<CompareRequest> compare;
  std::optional<FrameRange> frames;  // --frames: filter and write only these
  std::optional<bool> progress;  // unset: on when standard error is a terminal
  std::string demo_dir = "velmire-demo";
  std::vector<Settings> sweep_grid;  // empty: the built-in grid of the settings sweep
  float sweep_noise = 0.0f;          // noise on the sweep's composite signal (8-bit steps)
  std::string input = "-";       // "-" is standard input
  std::string output = "-";      // "-" is standard output
  std::vector<std::string> segments;  // --concat: the streams to join, in order
};

inline constexpr int kMaxThreads = 256;
inline constexpr std::int64_t kMaxFrameMemoryMiB = std::int64_t(1) << 24;  // 16 TiB

// Parses the arguments after the program name. Throws UsageError with one line.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// A job with the command line's settings, kernels, plug-in, thread count and memory budget;
// input, output, comparison picture and progress are left to the caller.
FilterJob JobWithSettingsOf(const CliOptions& options, int threads);

// The text printed by --help.
std::string UsageText();

}  // namespace velmire::cli
