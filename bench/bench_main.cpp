// velmire_bench: frames per second of whole frames through the filter object, with the portable
// kernels, with every vector kernel set the processor runs, and of a plain copy of the same
// frame (the copy every pass makes: the floor), for three formats and three contents, on one
// thread. Google Benchmark's options apply, e.g. --benchmark_filter=YUY2 or
// --benchmark_repetitions=3 (the summary then takes the best of the repetitions).
#include <benchmark/benchmark.h>

#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "bench_clips.h"
#include "fps_summary.h"
#include "host/script_environment.h"
#include "plugin/filter.h"
#include "plugin/kernel_set.h"
#include "processor_name.h"

namespace velmire::bench {
namespace {

// The default settings of the script function.
constexpr int kThresholdY = 30;
constexpr int kNoise = 60;
constexpr int kMargin = 1;

void CountFrames(benchmark::State& state) {
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Fetches each frame and makes it writable: a new buffer and a copy of every plane.
void RegisterCopy(const std::string& name, PClip clip, host::ScriptEnvironment& env) {
  benchmark::RegisterBenchmark(name.c_str(), [clip, &env](benchmark::State& state) {
    int n = 0;
    for (auto _ : state) {
      PVideoFrame frame = clip->GetFrame(n, &env);
      env.MakeWritable(&frame);
      benchmark::DoNotOptimize(frame->GetReadPtr());
      n = (n + 1) % kClipFrames;
    }
    CountFrames(state);
  });
}

void RegisterFilter(const std::string& name, PClip clip, const KernelSet& kernels,
                    host::ScriptEnvironment& env) {
  benchmark::RegisterBenchmark(name.c_str(), [clip, &kernels, &env](benchmark::State& state) {
    const PClip filter(
        new CrossColorFilter(clip, kThresholdY, kNoise, kMargin, false, &env, kernels));
    int n = 0;
    for (auto _ : state) {
      PVideoFrame frame = filter->GetFrame(n, &env);
      benchmark::DoNotOptimize(frame->GetReadPtr());
      n = (n + 1) % kClipFrames;
    }
    CountFrames(state);
  });
}

void PrintHeader() {
  std::cout << "processor: " << ProcessorName() << " (" << std::thread::hardware_concurrency()
            << " threads; the benchmark uses one)\n";
  std::cout << "kernel sets:";
  for (const KernelSet* set : AvailableKernels()) std::cout << ' ' << set->name;
  std::cout << "\nkernel set in use: " << BestKernels().name << "\n";
  std::cout << "settings: ThresholdY " << kThresholdY << ", Noise " << kNoise << ", Margin "
            << kMargin << "\n\n";
}

}  // namespace
}  // namespace velmire::bench

int main(int argc, char** argv) {
  using namespace velmire;
  using namespace velmire::bench;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PrintHeader();

  host::ScriptEnvironment env;
  std::vector<std::string> formats, contents;
  for (Content content : kContents) contents.push_back(ContentName(content));
  for (const BenchFormat& format : BenchFormats()) {
    formats.push_back(format.name);
    for (Content content : kContents) {
      const PClip clip = MakeBenchClip(env, format, content);
      RegisterCopy(BenchName(format.name, ContentName(content), "copy"), clip, env);
      for (const KernelSet* set : AvailableKernels()) {
        RegisterFilter(BenchName(format.name, ContentName(content), set->name), clip, *set, env);
      }
    }
  }

  FpsSummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary(std::cout, formats, contents, BestKernels().name);
  // The registered benchmarks hold the clips, whose frames belong to env: release them first.
  benchmark::ClearRegisteredBenchmarks();
  benchmark::Shutdown();
  return 0;
}
