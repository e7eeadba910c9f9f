#include "tool/cli/cli_options.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <string_view>

#include "core/function_arguments.h"
#include "tool/errors/cli_error.h"
#include "tool/y4m/integer_parse.h"
#include "lab/sweep/sweep_grid.h"

namespace velmire::cli {

using namespace lab;  // the demo clips and the sweep
namespace {

constexpr std::string_view kSeeHelp = " (see velmire --help)";

// Walks the argument list; options that take a value get it from "--name=value", from the
// rest of a short option ("-j4") or from the next argument.
class ArgumentCursor {
 public:
  explicit ArgumentCursor(const std::vector<std::string>& args) : args_(args) {}

  bool done() const { return next_ >= args_.size(); }
  const std::string& Take() { return args_[next_++]; }
  const std::string* Peek() const { return done() ? nullptr : &args_[next_]; }

  std::string TakeValue(const std::string& option) {
    if (done()) throw UsageError("option " + option + " needs a value" + std::string(kSeeHelp));
    return Take();
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
};

int ParseScriptInteger(const std::string& option, const std::string& value) {
  const std::optional<std::int64_t> n = ParseInteger(value);
  if (!n) throw UsageError("option " + option + " needs an integer, not '" + value + "'");
  // Out-of-range values are the filter's to clamp; only keep them within an int.
  return static_cast<int>(std::clamp<std::int64_t>(*n, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

int ParseThreads(const std::string& option, const std::string& value) {
  const std::optional<std::int64_t> n = ParseInteger(value);
  if (!n) throw UsageError("option " + option + " needs an integer, not '" + value + "'");
  if (*n < 1 || *n > kMaxThreads) {
    throw UsageError("option " + option + " must be between 1 and " +
                     std::to_string(kMaxThreads) + ", not " + value);
  }
  return static_cast<int>(*n);
}

const KernelSet* ParseKernels(const std::string& name) {
  if (const KernelSet* set = FindKernels(name)) return set;
  std::string offered;
  for (const KernelSet* set : AvailableKernels()) {
    offered += (offered.empty() ? "" : ", ") + std::string(KernelSetName(*set));
  }
  if (name == "portable" || name == "sse2" || name == "avx2" || name == "neon") {
    throw UsageError("option --kernels: this processor cannot run the " + name +
                     " kernels (it runs " + offered + ")");
  }
  throw UsageError("option --kernels needs portable, sse2, avx2 or neon, not '" + name +
                   "' (this processor runs " + offered + ")");
}

std::uint64_t ParseMebibytes(const std::string& option, const std::string& value) {
  const std::optional<std::int64_t> n = ParseInteger(value);
  if (!n || *n < 1 || *n > kMaxFrameMemoryMiB) {
    throw UsageError("option " + option + " needs a number of MiB from 1 to " +
                     std::to_string(kMaxFrameMemoryMiB) + ", not '" + value + "'");
  }
  return std::uint64_t(*n);
}

CompareRequest ParseCompare(const std::string& value) {
  const std::size_t colon = value.find(':');
  const std::optional<std::int64_t> frame =
      colon == std::string::npos ? std::nullopt : ParseInteger(value.substr(0, colon));
  if (!frame || *frame < 0 || colon + 1 == value.size()) {
    throw UsageError("option --compare needs FRAME:FILE.png (a frame number from 0 and a file "
                     "name), not '" + value + "'");
  }
  return CompareRequest{*frame, value.substr(colon + 1)};
}

}  // namespace

CliOptions ParseCommandLine(const std::vector<std::string>& args) {
  CliOptions options;
  std::vector<std::string> positional;
  bool demo = false;
  bool sweep = false;
  bool concat = false;
  bool settings_given = false;  // a filter setting was named on the command line
  bool options_ended = false;
  ArgumentCursor cursor(args);
  while (!cursor.done()) {
    const std::string arg = cursor.Take();
    if (options_ended || arg == "-" || arg.empty() || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    // Split "--name=value" and "-jN" into the option and its attached value.
    std::string name = arg;
    std::optional<std::string> attached;
    if (arg.starts_with("--")) {
      if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        attached = arg.substr(eq + 1);
      }
    } else if (arg.size() > 2) {
      name = arg.substr(0, 2);
      attached = arg.substr(2);
    }
    auto value = [&] { return attached ? *attached : cursor.TakeValue(name); };
    auto no_value = [&] {
      if (attached) throw UsageError("option " + name + " takes no value" + std::string(kSeeHelp));
    };

    if ((name == "-h" && !attached) || name == "--help") {
      options.action = CliAction::kHelp;
      return options;
    } else if (name == "--version") {
      options.action = CliAction::kVersion;
      return options;
    } else if (const FunctionArgument* setting = FindOption(name)) {
      settings_given = true;
      if (setting->type == ArgumentType::kFlag) {
        no_value();
        setting->Store(options.settings, 1);
      } else {
        setting->Store(options.settings, ParseScriptInteger(name, value()));
      }
    } else if (name == "--kernels") {
      options.kernels = ParseKernels(value());
    } else if (name == "-j" || name == "--threads") {
      options.threads = ParseThreads(name, value());
    } else if (name == "--max-memory") {
      options.frame_memory_mib = ParseMebibytes(name, value());
    } else if (name == "--plugin") {
      options.plugin_path = value();
      if (options.plugin_path.empty()) throw UsageError("option --plugin needs a file name");
    } else if (name == "--compare") {
      options.compare = ParseCompare(value());
    } else if (name == "--frames") {
      options.frames = ParseFrameRange(value());
    } else if (name == "--concat") {
      no_value();
      concat = true;
    } else if (name == "--progress") {
      no_value();
      options.progress = true;
    } else if (name == "--no-progress") {
      no_value();
      options.progress = false;
    } else if (name == "--sweep") {
      no_value();
      sweep = true;
    } else if (name == "--sweep-grid") {
      options.sweep_grid = ParseSweepGrid(value());
      sweep = true;
    } else if (name == "--sweep-noise") {
      const std::optional<std::int64_t> sigma = ParseInteger(value());
      if (!sigma || *sigma < 0 || *sigma > 20) {
        throw UsageError("option --sweep-noise needs a whole number of 8-bit steps, 0..20");
      }
      options.sweep_noise = float(*sigma);
      sweep = true;
    } else if (name == "--demo") {
      demo = true;
      const std::string* next = cursor.Peek();
      if (attached) {
        options.demo_dir = *attached;
      } else if (next != nullptr && !next->empty() && (*next)[0] != '-') {
        options.demo_dir = cursor.Take();
      }
      if (options.demo_dir.empty()) throw UsageError("option --demo needs a folder name");
    } else {
      throw UsageError("unknown option '" + arg + "'" + std::string(kSeeHelp));
    }
  }

  if (concat) {
    if (settings_given || demo || sweep || options.frames || options.compare ||
        !options.plugin_path.empty()) {
      throw UsageError("--concat only joins streams already filtered: give it the segment "
                       "files alone (velmire --concat SEGMENT... > OUTPUT)");
    }
    if (positional.empty()) throw UsageError("--concat needs the segment files to join, in order");
    options.action = CliAction::kConcat;
    options.segments = positional;
    return options;
  }
  if (sweep && !demo) {
    throw UsageError("--sweep runs on the demo clip: velmire --demo [DIR] --sweep");
  }
  if (sweep && !options.plugin_path.empty()) {
    throw UsageError("--sweep runs the filter core; --plugin is for filtering a stream");
  }
  if (!options.plugin_path.empty() && options.settings.Mode != kMode.defaultValue) {
    throw UsageError("--mode is the built-in filter's; the 2.5 plug-in library (--plugin) has "
                     "no Mode argument");
  }
  if (sweep && settings_given) {
    throw UsageError("--sweep chooses the filter settings itself; give your own combinations "
                     "as --sweep-grid T:N:M[:MODE],... instead");
  }
  if (demo) {
    if (!positional.empty()) {
      throw UsageError("--demo takes no INPUT or OUTPUT (it writes into its folder: --demo DIR)");
    }
    options.action = sweep ? CliAction::kSweep : CliAction::kDemo;
    return options;
  }
  if (options.frames && options.compare && !options.frames->Contains(options.compare->frame)) {
    throw UsageError("--compare frame " + std::to_string(options.compare->frame) +
                     " is not among --frames " + options.frames->Text());
  }
  if (positional.size() > 2) {
    throw UsageError("too many arguments: '" + positional[2] + "' (expected [INPUT [OUTPUT]])");
  }
  if (!positional.empty()) options.input = positional[0];
  if (positional.size() > 1) options.output = positional[1];
  if (options.input.empty() || options.output.empty()) {
    throw UsageError("an empty file name was given (use - for standard input or output)");
  }
  return options;
}

FilterJob JobWithSettingsOf(const CliOptions& options, int threads) {
  FilterJob job;
  job.settings = options.settings;
  job.kernels = options.kernels;
  job.plugin_path = options.plugin_path;
  job.threads = threads;
  job.frame_memory_bytes = options.frame_memory_mib << 20;
  return job;
}

}  // namespace velmire::cli
