#include "tool/demo/sweep_command.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

#include "tool/errors/cli_error.h"
#include "tool/run/output_file.h"
#include "lab/clips/scene_class_clip.h"
#include "lab/sweep/settings_sweep.h"
#include "lab/clips/stored_demo_clip.h"
#include "lab/sweep/sweep_baselines.h"
#include "lab/sweep/sweep_chart.h"
#include "lab/sweep/sweep_grid.h"
#include "lab/sweep/sweep_summary.h"
#include "lab/sweep/sweep_table.h"

namespace velmire::cli {

using namespace lab;  // the demo clips and the sweep
namespace {

namespace fs = std::filesystem;

// Frames per scene class and standard: a second of NTSC, 1.2 seconds of PAL.
constexpr int kClassFrames = 30;

const char* DescribeLayout(ChromaLayout layout) {
  return layout == ChromaLayout::k422 ? "4:2:2 (planar pass)" : "4:2:0 (planar pass)";
}

std::string Format(const char* format, double a, double b = 0.0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

void PrintLegend(int threads, float noise, std::ostream& out) {
  out << "Settings sweep on the demo's scene classes: " << kClassFrames << " frames of each, "
      << "as 720x480 NTSC and 720x576 PAL interlaced video with the cross-colour of a model of "
      << "composite video (notch decoder"
      << (noise > 0.0f ? Format(", noise of standard deviation %.0f on the composite signal", noise)
                       : std::string())
      << "), " << threads << (threads == 1 ? " thread" : " threads") << ".\n\n"
      << "Scene classes: still picture (a photograph-like street scene), camera pan (the same "
      << "scene panning 2.5 pixels a frame), moving object (a van crossing the still scene, 5 "
      << "pixels a frame), still stripes (a chart of fine stripes); and real photographs (a "
      << "mosaic of four): still photo, photo pan (2 pixels a frame), object over photo (a piece "
      << "of another shot crossing the still mosaic, 4 pixels a frame), photo cut (judged on the "
      << "two frames next to the cut).\n\n"
      << "Corrections: unfiltered; 3-frame average (each chroma sample averaged with the same "
      << "sample in the frames before and after); vertical 1-2-1 (the chroma rows of each frame "
      << "blurred 1-2-1); gated average (per 8x8 block whose luma agrees with the frames n-k and "
      << "n+k within the gate, mean absolute difference, the chroma becomes their 1/4, 1/2, 1/4 "
      << "average; k is 1 in NTSC, 2 in PAL; at the gate best for each row); Velmire with the "
      << "settings shown. Luma is never changed.\n\n"
      << "Chroma error: mean absolute difference (8-bit) of U and V from the clean scene, on "
      << "the detailed areas, away from them and on the whole frame. Changed: share of chroma "
      << "samples altered, on the detailed areas and elsewhere. fps: frames filtered per second, "
      << "from memory (no stream reading or writing).\n";
}

void WriteReport(const fs::path& path, const std::string& report) {
  OutputFile file(path.string());
  file.Write(report.data(), report.size());
  file.Commit();
}

}  // namespace

void RunSweep(const CliOptions& options, int threads, std::ostream& out) {
  const auto start = std::chrono::steady_clock::now();
  const fs::path dir(options.demo_dir);
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) {
    throw OutputError("demo: cannot create the folder '" + dir.string() + "': " + error.message());
  }
  const std::vector<Settings> grid =
      options.sweep_grid.empty() ? DefaultSweepGrid() : options.sweep_grid;
  const KernelSet& kernels = options.kernels ? *options.kernels : BestKernels();

  out << "Building each scene class in NTSC and PAL, then filtering it with " << grid.size()
      << (grid.size() == 1 ? " combination" : " combinations")
      << " of settings in both layouts.\n" << std::flush;
  std::vector<ClassSweep> results;
  for (const SceneClass scene : kSceneClasses) {
    for (const VideoStandard standard : kVideoStandards) {
      const auto built = std::chrono::steady_clock::now();
      const std::vector<StoredDemoClip> clips =
          RenderStoredClassClips(scene, standard, kClassFrames, threads, options.sweep_noise);
      const auto swept = std::chrono::steady_clock::now();
      for (const StoredDemoClip& clip : clips) {
        ClassSweep block{scene, standard, clip.layout, {}, 0, {}};
        const FrameGeometry g = ParseY4mHeader(clip.header_line).geometry;
        for (const Baseline baseline : kBaselines) {
          if (baseline == Baseline::kGatedAverage) {
            const GatedAverageResult gated =
                JudgeGatedAverageAtBestGate(clip, g, PhaseSequenceFrames(standard) / 2);
            block.baselines.push_back(gated.judgement);
            block.gated_average_gate = gated.gate;
          } else {
            block.baselines.push_back(JudgeBaseline(baseline, clip, g));
          }
        }
        block.rows = SweepSettings(clip, grid, kernels, threads);
        results.push_back(std::move(block));
      }
      const auto done = std::chrono::steady_clock::now();
      out << "  " << SceneClassName(scene) << ", " << StandardName(standard)
          << Format(": built in %.1f s, swept in %.1f s\n",
                    std::chrono::duration<double>(swept - built).count(),
                    std::chrono::duration<double>(done - swept).count())
          << std::flush;
    }
  }

  std::ostringstream report;
  PrintLegend(threads, options.sweep_noise, report);
  report << "\n";
  PrintSweepSummary(results, report);
  for (const ChromaLayout layout : {ChromaLayout::k422, ChromaLayout::k420}) {
    std::vector<const ClassSweep*> blocks;
    for (const ClassSweep& block : results) {
      if (block.layout == layout) blocks.push_back(&block);
    }
    report << "\n**" << DescribeLayout(layout) << "**\n\n";
    PrintSweepTable(blocks, report);
  }
  const fs::path report_path = dir / "settings-sweep.md";
  WriteReport(report_path, report.str());
  const fs::path chart_path = dir / "sweep-chart.svg";
  WriteReport(chart_path, BarChartSvg(SweepErrorChart(results)));

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  out << "\n" << report.str() << "\n"
      << Format("Done in %.1f s; ", seconds) << "the tables are also in "
      << report_path.string() << ", the chart in " << chart_path.string() << ".\n";
}

}  // namespace velmire::cli
