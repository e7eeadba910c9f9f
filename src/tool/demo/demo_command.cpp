#include "tool/demo/demo_command.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tool/errors/cli_error.h"
#include "lab/clips/demo_clip.h"
#include "lab/sweep/demo_judgement.h"
#include "tool/run/filter_job.h"
#include "tool/run/input_file.h"
#include "tool/run/output_file.h"
#include "tool/y4m/stream_frame_view.h"
#include "tool/y4m/y4m_reader.h"
#include "tool/y4m/y4m_writer.h"

namespace velmire::cli {

using namespace lab;  // the demo clips and the sweep
namespace {

namespace fs = std::filesystem;

struct Variant {
  ChromaLayout layout;
  const char* tag;        // in file names
  const char* describe;   // in the report
  std::string input, output, picture;
  // What judging the result needs, per frame: the clean frame and the detail mask.
  std::vector<std::vector<std::uint8_t>> clean, masks;
};

// Writes the input clips of both variants and keeps their clean frames and masks.
void BuildInputs(const DemoSpec& demo, std::vector<Variant>& variants) {
  std::vector<std::unique_ptr<OutputFile>> files;
  std::vector<std::unique_ptr<Y4mWriter>> writers;
  for (Variant& v : variants) {
    files.push_back(std::make_unique<OutputFile>(v.input));
    writers.push_back(std::make_unique<Y4mWriter>(
        *files.back(), ParseY4mHeader(DemoHeaderLine(demo, v.layout))));
    writers.back()->WriteHeader();
  }
  for (int t = 0; t < demo.frames; ++t) {
    DemoFrames frames = RenderDemoFrames(demo, t);
    for (std::size_t i = 0; i < variants.size(); ++i) {
      DemoFrame& f = variants[i].layout == ChromaLayout::k422 ? frames.yuv422 : frames.yuv420;
      writers[i]->WriteFrame(Y4mFrame{"FRAME", f.decoded});
      variants[i].clean.push_back(std::move(f.clean));
      variants[i].masks.push_back(std::move(f.detail_mask));
    }
  }
  for (auto& file : files) file->Commit();
}

DemoJudgement Judge(const Variant& v) {
  InputFile in_file(v.input), out_file(v.output);
  Y4mReader in(in_file), out(out_file);
  const FrameGeometry g = in.geometry();
  DemoJudgementTally tally;
  Y4mFrame a, b;
  for (std::size_t t = 0; in.ReadFrame(a) && out.ReadFrame(b) && t < v.clean.size(); ++t) {
    tally.Add(ViewStreamFrame(g, a.data.data()), ViewStreamFrame(g, b.data.data()),
              ViewStreamFrame(g, v.clean[t].data()), v.masks[t].data());
  }
  return tally.Result();
}

std::string Format(const char* format, double a, double b = 0.0, double c = 0.0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

}  // namespace

void RunDemo(const CliOptions& options, int threads,
             std::ostream& out) {
  const fs::path dir(options.demo_dir);
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) {
    throw OutputError("demo: cannot create the folder '" + dir.string() + "': " + error.message());
  }
  const DemoSpec demo;
  std::vector<Variant> variants = {
      {ChromaLayout::k422, "422", "4:2:2 (planar pass)", {}, {}, {}, {}, {}},
      {ChromaLayout::k420, "420", "4:2:0 (planar pass)", {}, {}, {}, {}, {}},
  };
  for (Variant& v : variants) {
    v.input = (dir / ("input-" + std::string(v.tag) + ".y4m")).string();
    v.output = (dir / ("output-" + std::string(v.tag) + ".y4m")).string();
    v.picture = (dir / ("compare-" + std::string(v.tag) + ".png")).string();
  }

  out << "Building the demo clip: " << demo.frames << " frames of " << demo.width << "x"
      << demo.height << " at 29.97 fps, a moving scene of fine detail\n"
      << "passed through a model of NTSC composite video, so it carries cross-colour that\n"
      << "changes sign from frame to frame and between neighbouring lines of a field.\n"
      << std::flush;
  BuildInputs(demo, variants);

  for (const Variant& v : variants) {
    FilterJob job = JobWithSettingsOf(options, threads);
    job.input = v.input;
    job.output = v.output;
    job.compare = CompareRequest{demo.frames / 2, v.picture};
    job.progress = options.progress.value_or(false);
    const FilterJobResult result = RunFilterJob(job);
    const DemoJudgement j = Judge(v);

    out << "\n" << v.describe << ": " << result.frames << " frames filtered in "
        << Format("%.2f s (%.1f fps)", result.seconds,
                  result.seconds > 0 ? double(result.frames) / result.seconds : 0.0)
        << ", " << threads << (threads == 1 ? " thread\n" : " threads\n");
    out << Format("  chroma samples corrected: %.1f%% (%.1f%% on fine detail, %.1f%% elsewhere)\n",
                  100.0 * j.changed.all, 100.0 * j.changed.detailed, 100.0 * j.changed.flat);
    out << Format("  chroma error against the clean scene (mean absolute, 8-bit): before %.2f, "
                  "after %.2f",
                  j.before.all, j.after.all)
        << Format(" (on fine detail: %.2f -> %.2f; elsewhere: ", j.before.detailed,
                  j.after.detailed)
        << Format("%.2f -> %.2f)\n", j.before.flat, j.after.flat);
    out << "  written: " << v.input << ", " << v.output << ", " << v.picture << "\n"
        << std::flush;
  }
}

}  // namespace velmire::cli
