// velmire_bench: first a table of each pixel kernel's time per call in every set (the portable
// one as reference); then frames per second of whole frames through the filter core, with the
// portable kernels, with every vector kernel set the processor runs, and of a plain copy of the
// same frame (the copy every front-end makes for the output: the floor), for each format and
// three contents, on one thread, and the fastest set in the stronger mode; then the comparisons
// the speed targets are stated in: 10-bit against 8-bit, planar 4:2:2 against YUY2, mode 1
// against mode 0. --kernels=NAME measures that set alone (with the copy). Google Benchmark's
// options apply, e.g. --benchmark_filter=YUY2 or --benchmark_repetitions=3 (the summary then
// takes the median of the repetitions).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "bench_clips.h"
#include "core/cross_color.h"
#include "core/kernel_table.h"
#include "fps_summary.h"
#include "kernel_timing.h"
#include "processor_name.h"

namespace velmire::bench {
namespace {

const Settings kSettings{};  // the script function's defaults

// The path name of a kernel set's run in the stronger mode, at otherwise the same settings.
std::string StrongerPath(const std::string& kernels) { return kernels + " mode 1"; }

void CountFrames(benchmark::State& state) {
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

using Clip = std::shared_ptr<const std::vector<BenchFrame>>;

// Copies each frame into an output frame, as a front-end does before the pass.
void RegisterCopy(const std::string& name, Clip clip, const BenchFormat& format) {
  benchmark::RegisterBenchmark(name.c_str(), [clip, format](benchmark::State& state) {
    BenchFrame output(format);
    int n = 0;
    for (auto _ : state) {
      output.CopyFrom((*clip)[size_t(n)]);
      benchmark::DoNotOptimize(output.View().y.data);
      n = (n + 1) % kClipFrames;
    }
    CountFrames(state);
  });
}

// The copy and the pass over frame n, with frames n-1 and n+1 (and n-2 and n+2, which mode 1
// reads) clamped to the clip.
void RegisterFilter(const std::string& name, Clip clip, const BenchFormat& format,
                    const KernelSet& kernels, const Settings& settings = kSettings) {
  benchmark::RegisterBenchmark(name.c_str(), [clip, format, &kernels,
                                              settings](benchmark::State& state) {
    const std::vector<BenchFrame>& frames = *clip;
    BenchFrame output(format);
    int n = 0;
    const auto frame = [&](int i) {
      return frames[size_t(std::clamp(i, 0, kClipFrames - 1))].View();
    };
    for (auto _ : state) {
      output.CopyFrom(frames[size_t(n)]);
      const OuterFrames outer{frame(n - 2), frame(n + 2)};
      ReduceCrossColor(format.format, settings, kernels, frame(n - 1), frame(n), frame(n + 1),
                       output.WritableView(), &outer);
      benchmark::DoNotOptimize(output.View().y.data);
      n = (n + 1) % kClipFrames;
    }
    CountFrames(state);
  });
}

// --kernels=NAME (taken out of the arguments): the one set to measure; every set otherwise.
std::vector<const KernelSet*> KernelsToMeasure(int& argc, char** argv) {
  constexpr std::string_view kOption = "--kernels=";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (!arg.starts_with(kOption)) continue;
    const std::string_view name = arg.substr(kOption.size());
    std::memmove(argv + i, argv + i + 1, sizeof(char*) * size_t(argc - i));
    --argc;
    if (const KernelSet* set = FindKernels(name)) return {set};
    std::cerr << "velmire_bench: no kernel set '" << name << "' on this processor\n";
    std::exit(2);
  }
  return AvailableKernels();
}

void PrintHeader() {
  std::cout << "processor: " << ProcessorName() << " (" << std::thread::hardware_concurrency()
            << " threads; the benchmark uses one)\n";
  std::cout << "kernel sets:";
  for (const KernelSet* set : AvailableKernels()) std::cout << ' ' << set->name;
  std::cout << "\nkernel set in use: " << BestKernels().name << "\n";
  std::cout << "settings: ThresholdY " << kSettings.ThresholdY << ", Noise " << kSettings.Noise
            << ", Margin " << kSettings.Margin << "\n\n";
}

// The speed targets that compare two paths, all with the fastest kernel set: 10-bit against
// 8-bit of the same layout and pictures, planar 4:2:2 against YUY2, and the stronger mode
// against mode 0.
void PrintComparisons(const FpsSummaryReporter& reporter, const std::vector<std::string>& contents,
                      const std::string& path) {
  using Comparison = FpsSummaryReporter::Comparison;
  auto rows = [&](const char* baseline, const char* measured, const std::string& baselinePath,
                  const std::string& measuredPath, std::vector<Comparison>& out) {
    for (const std::string& content : contents) {
      out.push_back({std::string(measured) + " " + content,
                     BenchName(baseline, content, baselinePath),
                     BenchName(measured, content, measuredPath)});
    }
  };
  std::vector<Comparison> depth, layout, mode;
  rows("YV16 720x480", "P10 4:2:2 720x480", path, path, depth);
  rows("YV12 720x480", "P10 4:2:0 720x480", path, path, depth);
  rows("YV12 1920x1080", "P10 4:2:0 1920x1080", path, path, depth);
  rows("YUY2 720x480", "YV16 720x480", path, path, layout);
  for (const BenchFormat& format : BenchFormats()) {
    rows(format.name, format.name, path, StrongerPath(path), mode);
  }
  reporter.PrintComparison(std::cout, "8-bit", "10-bit", depth);
  reporter.PrintComparison(std::cout, "YUY2", "planar 4:2:2", layout);
  reporter.PrintComparison(std::cout, "mode 0", "mode 1", mode);
}

}  // namespace
}  // namespace velmire::bench

int main(int argc, char** argv) {
  using namespace velmire;
  using namespace velmire::bench;
  const std::vector<const KernelSet*> kernels = KernelsToMeasure(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PrintHeader();
  std::vector<const KernelSet*> timed = kernels;
  if (timed.front() != &PortableKernels()) timed.insert(timed.begin(), &PortableKernels());
  PrintKernelTimes(std::cout, timed);

  std::vector<std::string> formats, contents;
  for (Content content : kContents) contents.push_back(ContentName(content));
  for (const BenchFormat& format : BenchFormats()) {
    formats.push_back(format.name);
    for (Content content : kContents) {
      const Clip clip = std::make_shared<const std::vector<BenchFrame>>(
          MakeBenchClip(format, content));
      RegisterCopy(BenchName(format.name, ContentName(content), "copy"), clip, format);
      for (const KernelSet* set : kernels) {
        RegisterFilter(BenchName(format.name, ContentName(content), set->name), clip, format,
                       *set);
      }
      Settings stronger = kSettings;
      stronger.Mode = 1;
      const KernelSet& fastest = *kernels.back();
      RegisterFilter(BenchName(format.name, ContentName(content), StrongerPath(fastest.name)),
                     clip, format, fastest, stronger);
    }
  }

  FpsSummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary(std::cout, formats, contents, kernels.back()->name);
  PrintComparisons(reporter, contents, kernels.back()->name);
  benchmark::Shutdown();
  return 0;
}
