// The command line of the tool: velmire [options] [INPUT [OUTPUT]].
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/frame_memory_budget.h"
#include "cli/script_settings.h"

namespace velmire::cli {

enum class CliAction { kRun, kDemo, kSweep, kHelp, kVersion };

struct CompareRequest {
  std::int64_t frame = 0;
  std::string path;
};

struct CliOptions {
  CliAction action = CliAction::kRun;
  // Script arguments of the filter; passed on as given (the filter clamps them).
  int threshold_y = 30;
  int noise = 60;
  int margin = 1;
  bool debug = false;
  int threads = 0;               // frames filtered at once; 0 means one per core
  std::uint64_t frame_memory_mib = kDefaultFrameMemoryMiB;  // for the frames in flight
  std::string plugin_path;       // empty: the plug-in installed with the tool
  std::optional<CompareRequest> compare;
  std::optional<bool> progress;  // unset: on when standard error is a terminal
  std::string demo_dir = "velmire-demo";
  std::vector<ScriptSettings> sweep_grid;  // empty: the built-in grid of the settings sweep
  std::string input = "-";       // "-" is standard input
  std::string output = "-";      // "-" is standard output
};

inline constexpr int kMaxThreads = 256;
inline constexpr std::int64_t kMaxFrameMemoryMiB = std::int64_t(1) << 24;  // 16 TiB

// Parses the arguments after the program name. Throws UsageError with one line.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// The text printed by --help.
std::string UsageText();

}  // namespace velmire::cli
