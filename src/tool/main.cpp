// velmire: runs the cross-colour filter over YUV4MPEG2 streams from the shell.
#include <csignal>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "tool/errors/cli_error.h"
#include "tool/cli/cli_options.h"
#include "tool/demo/demo_command.h"
#include "tool/run/filter_job.h"
#include "tool/run/interrupt_cleanup.h"
#include "tool/run/progress_reporter.h"
#include "tool/run/segment_concat.h"
#include "tool/run/tool_version.h"
#include "tool/demo/sweep_command.h"
#include "host/host_error.h"

namespace {

using namespace velmire::cli;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Run(const CliOptions& options) {
  const int threads =
      options.threads > 0 ? options.threads
                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (options.action == CliAction::kConcat) {
    ConcatenateSegments(options.segments, "-");
    return 0;
  }
  if (options.action == CliAction::kDemo) {
    RunDemo(options, threads, std::cout);
    return 0;
  }
  if (options.action == CliAction::kSweep) {
    RunSweep(options, threads, std::cout);
    return 0;
  }
  FilterJob job = JobWithSettingsOf(options, threads);
  job.input = options.input;
  job.output = options.output;
  job.compare = options.compare;
  job.frames = options.frames;
  job.progress = options.progress.value_or(ProgressSuitsStandardError());
  RunFilterJob(job);
  return 0;
}

int Fail(const std::string& message, int status) {
  // An error caused by an interrupt (the programs on either side of a pipe stopped with us) is
  // not reported: the line about the interrupt is.
  WaitWhileInterrupted();
  std::cerr << "velmire: " << message << std::endl;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A closed output pipe and a file-size limit must show as write errors (EPIPE, EFBIG) with
  // a message, not end the process silently.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  HandleInterrupts();
  try {
    const CliOptions options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
      case CliAction::kHelp:
        std::cout << UsageText();
        return 0;
      case CliAction::kVersion:
        std::cout << "velmire " << ToolVersion() << " (kernels: "
                  << velmire::KernelSetName(velmire::BestKernels()) << ")\n";
        return 0;
      default:
        return Run(options);
    }
  } catch (const UsageError& e) {
    return Fail(e.what(), kExitUsage);
  } catch (const CliError& e) {
    return Fail(e.what(), kExitFailure);
  } catch (const velmire::host::HostError& e) {
    return Fail(e.what(), kExitFailure);
  } catch (const std::bad_alloc&) {
    return Fail("out of memory", kExitFailure);
  } catch (const std::exception& e) {
    return Fail(e.what(), kExitFailure);
  }
}
