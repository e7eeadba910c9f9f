// Exact segments: --frames A:B writes frames A to B-1 as a run over the whole clip makes them,
// from a file (seeking when its frames are of one size) or a pipe, and --concat joins segments
// into the whole run's bytes. Ranges that are empty, reversed or past the end are refused with
// one line, and an incomplete segment is never left looking whole. --concat joins only the
// segments of one run that hold each frame once, and says which frames are missing or repeated.
#include <sstream>
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
    std::string mode = "0";  // mode 1 reads two frames on either side
  };
  const Case cases[] = {
      {{"0:1", "1:8", "8:9"}, Source::kFile, false},  // the first and last frame alone
      {{"0:4", "4:5", "5:"}, Source::kStandardInputFile, false},
      {{"0:2", "2:3", "3:9"}, Source::kPipe, false},
      {{"0:5", "5:8", "8:9"}, Source::kFile, true},
      {{"0:1", "1:2", "2:7", "7:8", "8:9"}, Source::kFile, false, "1"},
      {{"0:3", "3:4", "4:"}, Source::kPipe, false, "1"},
      {{"0:5", "5:6", "6:9"}, Source::kFile, true, "1"},
  };
  TempDir dir;
  for (const ChromaLayout layout : {ChromaLayout::k420, ChromaLayout::k422}) {
    const std::string clip = DemoStream(layout, 96, 48, 9);
    for (const Case& c : cases) {
      const std::string label = c.ranges[1] + " mode " + c.mode +
                                (layout == ChromaLayout::k422 ? " 4:2:2" : " 4:2:0");
      WriteFile(dir / "in.y4m", c.frame_parameters ? WithFrameParameters(clip) : clip);
      ASSERT_EQ(RunTool({"--mode", c.mode, dir / "in.y4m", dir / "whole.y4m"}).exit_code, 0);
      std::vector<std::string> concat = {"--concat"};
      for (std::size_t k = 0; k < c.ranges.size(); ++k) {
        concat.push_back(dir / ("seg" + std::to_string(k) + ".y4m"));
        FilterSegment(c.ranges[k], c.source, dir / "in.y4m", concat.back(), "--mode " + c.mode);
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
  };
  for (const Case& c : cases) {
    WriteFile(out, "previous content");
    EXPECT_EQ(RunShell(c.command + " 2> " + (dir / "err")), c.exit_code) << c.command;
    EXPECT_EQ(ReadFile(dir / "err"), c.message + "\n");
    EXPECT_EQ(ReadFile(out), "previous content") << c.command;
  }
}

TEST(Segments, ConcatRefusesAnythingButEachFrameOfOneRunOnce) {
  TempDir dir;
  const std::string header = "YUV4MPEG2 W64 H32 F25:1 C420jpeg";
  const std::string clip = PatternStream(header, 3072, 9);
  WriteFile(dir / "in.y4m", clip);
  // Another capture of the same format: only the first frame differs.
  WriteFile(dir / "other.y4m", header + "\nFRAME\n" + std::string(3072, '\x10') +
                                   clip.substr(header.size() + 1 + 6 + 3072));
  const auto segment = [&](const std::string& name, const std::string& range,
                           const std::string& from = "in.y4m", const std::string& extra = "") {
    FilterSegment(range, Source::kFile, dir / from, dir / name, extra);
    return dir / name;
  };
  const std::string s0 = segment("s0", "0:4"), s4 = segment("s4", "4:7");
  const std::string s7 = segment("s7", "7:"), s2 = segment("s2", "2:5");
  const std::string o4 = segment("o4", "4:7", "other.y4m");
  const std::string n0 = segment("n0", "0:4", "in.y4m", "--noise 90");
  // From a pipe the clip's length is unknown: "7:" stays open at the end.
  FilterSegment("7:", Source::kPipe, dir / "in.y4m", dir / "p7");
  FilterSegment("4:7", Source::kPipe, dir / "in.y4m", dir / "p4");
  const std::string p7 = dir / "p7", p4 = dir / "p4";
  ASSERT_EQ(RunTool({dir / "in.y4m", dir / "whole"}).exit_code, 0);
  const std::string s4_short = dir / "s4short";  // a frame cut off after it was made
  WriteFile(s4_short, ReadFile(s4).substr(0, ReadFile(s4).size() - 6 - 3072));

  const std::string bad = dir / "bad";  // a tag edited by hand
  WriteFile(bad, header + " XVELMIRE_SEGMENT=5:3:9:ab" + clip.substr(header.size()));

  const auto q = [](const std::string& path) { return "'" + path + "'"; };
  const std::string another_run =
      " (another input, other settings or another velmire)";
  struct Case {
    std::vector<std::string> segments;
    std::string message;
  };
  const Case cases[] = {
      {{s0, s7}, "frames 4 to 6 are missing: " + q(s0) + " ends at frame 3 and " + q(s7) +
                     " starts at frame 7"},
      {{s4, s7}, "frames 0 to 3 are missing: the first segment, " + q(s4) +
                     ", starts at frame 4"},
      {{s0, s4, s4, s7}, "frames 4 to 6 come twice: in " + q(s4) + " and in " + q(s4)},
      {{s0, s2, s7}, "frames 2 to 3 come twice: in " + q(s0) + " and in " + q(s2)},
      {{s0, s4, p7, s7}, "frames 7 to 8 come twice: in " + q(p7) + " and in " + q(s7)},
      {{s0, s4}, "frames 7 to 8 are missing: the last segment, " + q(s4) +
                     ", ends at frame 6 and the clip has 9 frames"},
      // The clip's length comes from any segment that knows it.
      {{s0, p4}, "frames 7 to 8 are missing: the last segment, " + q(p4) +
                     ", ends at frame 6 and the clip has 9 frames"},
      {{s0, o4, s7}, q(o4) + " is not a segment of the same run as " + q(s0) + another_run},
      {{n0, s4, s7}, q(s4) + " is not a segment of the same run as " + q(n0) + another_run},
      {{s0, dir / "whole", s7},
       q(dir / "whole") + " does not say which frames it holds (it was made without --frames, "
                          "or by an older velmire): make it again with velmire --frames A:B "
                          "INPUT OUTPUT"},
      {{s0, bad}, q(bad) + ": the segment tag 'XVELMIRE_SEGMENT=5:3:9:ab' is not one velmire "
                           "writes"},
      {{s0, s4_short, s7},
       q(s4_short) + " holds 2 frames, not the frames 4 to 6 its header names"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--concat"};
    args.insert(args.end(), c.segments.begin(), c.segments.end());
    const ToolRun run = RunTool(args, "/dev/null", dir / "joined");
    EXPECT_EQ(run.exit_code, 1) << c.message;
    EXPECT_EQ(run.stderr_text, "velmire: concat: " + c.message + "\n");
    EXPECT_EQ(ReadFile(dir / "joined"), "") << c.message;
  }
  // The same segments in order join, with the pipe's open one last.
  const ToolRun join = RunTool({"--concat", s0, p4, p7}, "/dev/null", dir / "joined");
  ASSERT_EQ(join.exit_code, 0) << join.stderr_text;
  EXPECT_TRUE(ReadFile(dir / "joined") == ReadFile(dir / "whole"));
  // A whole run over a segment drops its tag.
  ASSERT_EQ(RunTool({s4, dir / "again"}).exit_code, 0);
  EXPECT_EQ(ParseStream(ReadFile(dir / "again")).header, header);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  std::string out;
  for (std::size_t at; (at = text.find(from)) != std::string::npos;) {
    out += text.substr(0, at) + to;
    text.erase(0, at + from.size());
  }
  return out + text;
}

// The recipe of the tool reference's "exact segments" example (docs/tool.md), run as written
// on a short clip: segments of 4 frames instead of 9000, this machine as the only node, a
// folder of the test's for /shared, and the joined stream kept instead of encoded.
TEST(Segments, ReadmeRecipeJoinsIntoTheWholeRunsBytes) {
  if (RunShell("command -v parallel ffprobe > /dev/null") != 0) {
    GTEST_SKIP() << "GNU parallel or ffprobe is not installed";
  }
  if (ToolRunsUnderEmulator()) GTEST_SKIP() << "the recipe starts velmire by name";
  const std::string readme = ReadFile(VELMIRE_README_PATH);
  const std::size_t concat = readme.find("velmire --concat $(");
  ASSERT_NE(concat, std::string::npos) << "the recipe is no longer in docs/tool.md";
  const std::size_t start = readme.rfind("```sh\n", concat) + 6;
  std::istringstream block(readme.substr(start, readme.find("```", concat) - start));
  TempDir dir;
  std::string script = "set -e; cd " + dir.path() + "\n";
  for (std::string line; std::getline(block, line);) {
    if (line.starts_with("ffmpeg -i capture.avi")) continue;  // the capture is made below
    if (line.find("ffmpeg -i - ") != std::string::npos) continue;
    if (line.ends_with(" |")) line = line.substr(0, line.size() - 1) + "> joined.y4m";
    script += ReplaceAll(ReplaceAll(line, "/shared/", ""), "9000", "4") + "\n";
  }
  WriteFile(dir / "capture.y4m", DemoStream(ChromaLayout::k422, 64, 32, 11));
  WriteFile(dir / "nodes.txt", ":\n");
  WriteFile(dir / "recipe.sh", script);
  const std::string tool = ToolCommand().back();
  const std::string tool_dir = tool.substr(0, tool.rfind('/'));
  ASSERT_EQ(RunShell("PATH=" + tool_dir + ":$PATH bash " + (dir / "recipe.sh") + " > " +
                     (dir / "log") + " 2>&1"),
            0)
      << script << ReadFile(dir / "log");
  ASSERT_EQ(RunTool({dir / "capture.y4m", dir / "whole.y4m"}).exit_code, 0);
  EXPECT_EQ(ReadFile(dir / "segments.txt"),
            "0:4 seg-000000000.y4m\n4:8 seg-000000004.y4m\n8: seg-000000008.y4m\n");
  EXPECT_TRUE(ReadFile(dir / "joined.y4m") == ReadFile(dir / "whole.y4m"));
}

}  // namespace
}  // namespace velmire::cli::testing
