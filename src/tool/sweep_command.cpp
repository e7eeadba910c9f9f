#include "tool/sweep_command.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "tool/y4m/cli_error.h"
#include "tool/output_file.h"
#include "tool/measure/settings_sweep.h"
#include "tool/demo/stored_demo_clip.h"
#include "tool/measure/sweep_grid.h"
#include "tool/measure/sweep_table.h"

namespace velmire::cli {
namespace {

namespace fs = std::filesystem;

const char* DescribeLayout(ChromaLayout layout) {
  return layout == ChromaLayout::k422 ? "4:2:2 (YUY2 pass)" : "4:2:0 (planar pass)";
}

std::string Format(const char* format, double a, double b = 0.0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

void PrintLegend(const DemoSpec& demo, int threads, std::ostream& out) {
  out << "Settings sweep on the demo clip (" << demo.frames << " frames of " << demo.width << "x"
      << demo.height << ", a moving scene of fine detail with cross-colour from a model of NTSC "
      << "composite video), " << threads << (threads == 1 ? " thread" : " threads") << ".\n\n"
      << "Chroma error: mean absolute difference (8-bit) of U and V from the clean scene, on "
      << "the detailed areas and on the whole frame. Changed: share of chroma samples the "
      << "filter altered, on the detailed areas and elsewhere. fps: frames filtered per second, "
      << "from memory (no stream reading or writing).\n";
}

void WriteReport(const fs::path& path, const std::string& report) {
  OutputFile file(path.string());
  file.Write(report.data(), report.size());
  file.Commit();
}

}  // namespace

void RunSweep(const CliOptions& options, int threads,
              std::ostream& out) {
  const auto start = std::chrono::steady_clock::now();
  const fs::path dir(options.demo_dir);
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) {
    throw OutputError("demo: cannot create the folder '" + dir.string() + "': " + error.message());
  }
  const std::vector<Settings> grid =
      options.sweep_grid.empty() ? DefaultSweepGrid() : options.sweep_grid;
  const DemoSpec demo;

  out << "Building the demo clip, then filtering it with " << grid.size()
      << (grid.size() == 1 ? " combination" : " combinations")
      << " of settings in both layouts.\n\n" << std::flush;
  const std::vector<StoredDemoClip> clips = RenderStoredDemoClips(demo, threads);

  std::ostringstream report;
  PrintLegend(demo, threads, report);
  for (const StoredDemoClip& clip : clips) {
    const std::vector<SweepRow> rows = SweepSettings(clip, grid, options.kernels ? *options.kernels : BestKernels(), threads);
    const ChromaError& unfiltered = rows.front().judgement.before;
    report << "\n**" << DescribeLayout(clip.layout) << "**: unfiltered chroma error "
           << Format("%.2f on detail, %.2f on the whole frame.\n\n", unfiltered.detailed,
                     unfiltered.all);
    PrintSweepTable(rows, report);
  }
  const fs::path report_path = dir / "settings-sweep.md";
  WriteReport(report_path, report.str());

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  out << report.str() << "\n"
      << Format("Done in %.1f s; ", seconds) << "the tables are also in "
      << report_path.string() << ".\n";
}

}  // namespace velmire::cli
