// Exact segments: --frames A:B writes frames A to B-1 as a run over the whole clip makes them,
// from a file (seeking when its frames are of one size) or a pipe, and --concat joins segments
// into the whole run's bytes. Ranges that are empty, reversed or past the end are refused with
// one line, and an incomplete segment is never left looking whole.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/test_streams.h"
#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

enum class Source { kFile, kStandardInputFile, kPipe };

// Runs the tool on `input` for `range` into `output`; returns its standard error.
std::string FilterSegment(const std::string& range, Source source, const std::string& input,
                          const std::string& output, const std::string& extra = "") {
  const std::string tool = ToolCommandLine() + " --frames " + range + " " + extra;
  const std::string command = source == Source::kFile ? tool + " " + input + " " + output
                              : source == Source::kPipe
                                  ? "cat " + input + " | " + tool + " - " + output
                                  : tool + " - " + output + " < " + input;
  const std::string err = output + ".err";
  EXPECT_EQ(RunShell(command + " 2> " + err), 0) << range << ": " << ReadFile(err);
  return ReadFile(err);
}

// The demo clip with parameters on some FRAME lines after the first, so its frames differ in size.
std::string WithFrameParameters(const std::string& clip) {
  const ParsedStream parsed = ParseStream(clip);
  std::string stream = parsed.header + "\n";
  for (std::size_t k = 0; k < parsed.frames.size(); ++k) {
    stream += (k % 3 == 2 ? "FRAME Ixyz XA=" + std::to_string(k) : "FRAME") + "\n";
    stream.append(parsed.frames[k].data.begin(), parsed.frames[k].data.end());
  }
  return stream;
}

TEST(Segments, JoinedSegmentsAreTheWholeRunsBytes) {
  struct Case {
    std::vector<std::string> ranges;
    Source source;
    bool frame_parameters;
  };
  const Case cases[] = {
      {{"0:1", "1:8", "8:9"}, Source::kFile, false},  // the first and last frame alone
      {{"0:4", "4:5", "5:"}, Source::kStandardInputFile, false},
      {{"0:2", "2:3", "3:9"}, Source::kPipe, false},
      {{"0:5", "5:8", "8:9"}, Source::kFile, true},
  };
  TempDir dir;
  for (const ChromaLayout layout : {ChromaLayout::k420, ChromaLayout::k422}) {
    const std::string clip = DemoStream(layout, 96, 48, 9);
    for (const Case& c : cases) {
      const std::string label = c.ranges[1] + (layout == ChromaLayout::k422 ? " 4:2:2" : " 4:2:0");
      WriteFile(dir / "in.y4m", c.frame_parameters ? WithFrameParameters(clip) : clip);
      ASSERT_EQ(RunTool({dir / "in.y4m", dir / "whole.y4m"}).exit_code, 0);
      std::vector<std::string> concat = {"--concat"};
      for (std::size_t k = 0; k < c.ranges.size(); ++k) {
        concat.push_back(dir / ("seg" + std::to_string(k) + ".y4m"));
        FilterSegment(c.ranges[k], c.source, dir / "in.y4m", concat.back());
      }
      const ToolRun join = RunTool(concat, "/dev/null", dir / "joined.y4m");
      ASSERT_EQ(join.exit_code, 0) << join.stderr_text;
      // (Compared as booleans: a failure would print megabytes of frames.)
      EXPECT_TRUE(ReadFile(dir / "joined.y4m") == ReadFile(dir / "whole.y4m")) << label;
      EXPECT_TRUE(ReadFile(dir / "whole.y4m") != ReadFile(dir / "in.y4m")) << label;
    }
  }
}

// A file of fixed-size frames is entered by seeking: a broken frame before the segment goes
// unseen there, while a pipe has to read through it. Progress names the segment.
TEST(Segments, SeeksInAFileAndReadsThroughAPipe) {
  TempDir dir;
  const std::string clip = DemoStream(ChromaLayout::k420, 64, 32, 8);
  std::string broken = clip;
  // Frame 2: not among the FRAME lines checked before seeking to frame 3.
  const std::size_t frame_2 = clip.find('\n') + 1 + 2 * (6 + 64 * 32 * 3 / 2);
  broken.replace(frame_2, 5, "FRANK");
  WriteFile(dir / "in.y4m", clip);
  WriteFile(dir / "broken.y4m", broken);

  FilterSegment("4:6", Source::kFile, dir / "in.y4m", dir / "good.y4m");
  const std::string err = FilterSegment("4:6", Source::kFile, dir / "broken.y4m",
                                        dir / "sought.y4m", "--progress");
  EXPECT_TRUE(ReadFile(dir / "sought.y4m") == ReadFile(dir / "good.y4m"));
  EXPECT_NE(err.find("segment 4:6: frame 2 of 2 (100.0%)"), std::string::npos) << err;

  EXPECT_EQ(RunShell("cat " + (dir / "broken.y4m") + " | " + ToolCommandLine() +
                     " --frames 4:6 - " + (dir / "piped.y4m") + " 2> " + (dir / "err")),
            1);
  EXPECT_EQ(ReadFile(dir / "err"),
            "velmire: input: frame 2 does not start with a FRAME line (found 'FRANK'); '" +
                (dir / "piped.y4m") + "' was not written, as segment 4:6 is not whole\n");
}

TEST(Segments, RefusalsAreOneLineAndLeaveTheOutputAlone) {
  TempDir dir;
  const std::string header = "YUV4MPEG2 W64 H32 F25:1 C420jpeg";
  const std::string clip = PatternStream(header, 64 * 32 * 3 / 2, 9);
  WriteFile(dir / "in.y4m", clip);
  WriteFile(dir / "cut.y4m", clip.substr(0, clip.size() - 100));
  WriteFile(dir / "other.y4m", PatternStream("YUV4MPEG2 W64 H32 F30:1 C420jpeg", 3072, 1));
  const std::string out = dir / "out.y4m";
  const std::string tool = ToolCommandLine() + " ";
  const std::string in = " " + (dir / "in.y4m") + " " + out;
  const std::string past = "velmire: --frames 3:10 is past the end of the clip, which has 9 "
                           "frames (0 to 8)";
  struct Case {
    std::string command;
    int exit_code;
    std::string message;
  };
  const Case cases[] = {
      {tool + "--frames 4:4" + in, 2,
       "velmire: --frames 4:4 is empty: A:B writes frames A to B-1, so B must be greater than A"},
      {tool + "--frames 7:3" + in, 2,
       "velmire: --frames 7:3 is reversed: A:B writes frames A to B-1, so B must be greater "
       "than A"},
      {tool + "--frames 2:5 --compare 7:" + (dir / "c.png") + in, 2,
       "velmire: --compare frame 7 is not among --frames 2:5"},
      // A file of fixed-size frames tells before any frame is read...
      {tool + "--frames 3:10" + in, 1, past},
      {tool + "--frames 9:" + in, 1,
       "velmire: --frames 9: is past the end of the clip, which has 9 frames (0 to 8)"},
      // ...a pipe at its end, and standard output has had the frames there were.
      {"cat " + (dir / "in.y4m") + " | " + tool + "--frames 3:10 - " + out, 1,
       past + "; '" + out + "' was not written"},
      {"cat " + (dir / "in.y4m") + " | " + tool + "--frames 3:10 > " + (dir / "stdout"), 1,
       past + "; frames 3 to 8 went to standard output"},
      {tool + "--frames 5:9 " + (dir / "cut.y4m") + " " + out, 1,
       "velmire: input: frame 8 is truncated (2972 of 3072 bytes); '" + out +
           "' was not written, as segment 5:9 is not whole"},
      {tool + "--concat " + (dir / "in.y4m") + " " + (dir / "other.y4m") + " > " +
           (dir / "stdout"),
       1,
       "velmire: concat: '" + (dir / "other.y4m") + "' is not a segment of the same clip as '" +
           (dir / "in.y4m") + "': its header is 'YUV4MPEG2 W64 H32 F30:1 C420jpeg', not '" +
           header + "'"},
  };
  for (const Case& c : cases) {
    WriteFile(out, "previous content");
    EXPECT_EQ(RunShell(c.command + " 2> " + (dir / "err")), c.exit_code) << c.command;
    EXPECT_EQ(ReadFile(dir / "err"), c.message + "\n");
    EXPECT_EQ(ReadFile(out), "previous content") << c.command;
  }
}

}  // namespace
}  // namespace velmire::cli::testing
