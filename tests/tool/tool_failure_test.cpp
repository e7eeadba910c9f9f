// The tool's failures: one clear line on standard error and a non-zero exit; broken input
// leaves every complete frame before it as a valid stream; failed writes leave no
// half-written file under the user's name.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/test_streams.h"
#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

namespace fs = std::filesystem;

// 64x32 4:2:0: 3072 bytes a frame.
const std::string kHeader = "YUV4MPEG2 W64 H32 F25:1 C420jpeg";
constexpr std::size_t kFrameBytes = 64 * 32 * 3 / 2;

bool IsOneLine(const std::string& text) {
  return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
}

TEST(ToolFailure, RefusesBadInputWithOneLineAndWritesNothing) {
  struct Case {
    std::string input;
    std::string message;
  };
  const Case cases[] = {
      {"", "velmire: input: the stream is empty (no YUV4MPEG2 header)\n"},
      {"RIFF....WAVEfmt \n", "velmire: input: not a YUV4MPEG2 stream (it does not start with "
                             "'YUV4MPEG2 ')\n"},
      {"YUV4MPEG2 W720 H480 F25:1 C444\n",
       "velmire: input: unsupported colour space C444 (accepted: C420, C420jpeg, C420mpeg2, "
       "C420paldv or C422 at 8 bits, C420pN or C422pN at N = 9, 10, 12, 14 or 16 bits); convert "
       "it with ffmpeg -pix_fmt yuv422p\n"},
      {"YUV4MPEG2 W720 H480 C444p12 XYSCSS=444P12\n",
       "velmire: input: unsupported colour space C444p12 (accepted: C420, C420jpeg, C420mpeg2, "
       "C420paldv or C422 at 8 bits, C420pN or C422pN at N = 9, 10, 12, 14 or 16 bits); convert "
       "it with ffmpeg -pix_fmt yuv422p12le -strict -1\n"},
      // The 2.5 interface has no deeper formats.
      {"YUV4MPEG2 W64 H32 C422p10\nFRAME\n" + std::string(2 * 64 * 32 * 2, '\x02'),
       "velmire: plug-in: --plugin runs 8-bit video only (the 2.5 interface has no deeper "
       "formats), and the input has 10 bits per sample; leave out --plugin to filter it with the "
       "built-in core\n"},
      {"YUV4MPEG2 W719 H480 C422\n", "velmire: input: odd width 719 is not supported (the width "
                                      "must be even: crop it, with ffmpeg -vf crop=718:480:0:0)\n"},
      {"YUV4MPEG2 W720 H481 C420\n",
       "velmire: input: odd height 481 is not supported for 4:2:0 video (the height must be even: "
       "crop it, with ffmpeg -vf crop=720:480:0:0)\n"},
      {"YUV4MPEG2 W720 H99999\n", "velmire: input: frame size 720x99999 is too large (at most "
                                  "16384 pixels on each side)\n"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    WriteFile(dir / "in.y4m", c.input);
    const ToolRun run = RunTool({"--plugin", PluginPath(), dir / "in.y4m", dir / "out.y4m"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.stderr_text, c.message);
    EXPECT_FALSE(fs::exists(dir / "out.y4m"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  }
}

TEST(ToolFailure, UsageAndSetupErrorsAreOneLine) {
  TempDir dir;
  WriteFile(dir / "in.y4m", PatternStream(kHeader, kFrameBytes, 2));
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string message;
  };
  const Case cases[] = {
      {{"--noise", "abc"}, 2, "velmire: option --noise needs an integer, not 'abc'\n"},
      {{"--bogus"}, 2, "velmire: unknown option '--bogus' (see velmire --help)\n"},
      {{"--plugin", "/nonexistent/libvelmire.so", dir / "in.y4m", dir / "out.y4m"}, 1,
       "velmire: cannot load plug-in \"/nonexistent/libvelmire.so\""},
      {{"--plugin", PluginPath(), dir / "missing.y4m"}, 1,
       "velmire: input: cannot open '" + (dir / "missing.y4m") + "': No such file or directory\n"},
      {{"--plugin", PluginPath(), dir / "in.y4m", dir.path()}, 1,
       "velmire: output: '" + dir.path() + "' is a folder, not a file\n"},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.message;
    EXPECT_EQ(run.stderr_text.rfind(c.message, 0), 0u) << run.stderr_text;
    EXPECT_TRUE(IsOneLine(run.stderr_text)) << run.stderr_text;
  }
}

TEST(ToolFailure, BrokenInputLeavesEveryCompleteFrameBeforeIt) {
  const std::string good = PatternStream(kHeader, kFrameBytes, 5);
  const std::size_t frame = 6 + kFrameBytes;
  const std::size_t body = kHeader.size() + 1;
  struct Case {
    std::string stream;
    std::size_t complete_frames;
    std::string message;
  };
  std::string garbled = good;
  garbled.replace(body + 2 * frame, 5, "FRANK");
  const Case cases[] = {
      {good.substr(0, body + 3 * frame + 100), 3,
       "velmire: input: frame 3 is truncated (94 of 3072 bytes)\n"},
      {good.substr(0, body + 4 * frame + 3), 4,
       "velmire: input: frame 4 is truncated (the stream ends inside its FRAME line)\n"},
      {garbled, 2, "velmire: input: frame 2 does not start with a FRAME line (found 'FRANK')\n"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    for (const bool through_pipe : {false, true}) {
      WriteFile(dir / "in.y4m", c.stream);
      const std::vector<std::string> options = {"-j", "2", "--plugin", PluginPath()};
      auto feed = [&](int fd, int) {
        for (std::size_t at = 0; at < c.stream.size();) {
          const ssize_t n = ::write(fd, c.stream.data() + at, c.stream.size() - at);
          if (n <= 0) break;
          at += std::size_t(n);
        }
      };
      std::vector<std::string> named = options;
      named.push_back(dir / "in.y4m");
      named.push_back(dir / "out.y4m");
      const ToolRun run = through_pipe ? RunToolFeeding(options, feed, dir / "out.y4m")
                                       : RunTool(named);
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.stderr_text, c.message);
      const ParsedStream out = ParseStream(ReadFile(dir / "out.y4m"));
      EXPECT_EQ(out.header, kHeader);
      EXPECT_EQ(out.frames.size(), c.complete_frames) << (through_pipe ? "pipe" : "file");
    }
  }
}

TEST(ToolFailure, FailedWritesStopWithAClearMessage) {
  TempDir dir;
  // Large enough to overrun a pipe's buffer and a small file-size limit.
  WriteFile(dir / "in.y4m", PatternStream("YUV4MPEG2 W320 H240 C420", 320 * 240 * 3 / 2, 40));
  const std::string tool = ToolCommandLine() + " --plugin " + PluginPath() + " " + (dir / "in.y4m");

  const ToolRun full = RunTool({"--plugin", PluginPath(), dir / "in.y4m", "/dev/full"});
  EXPECT_EQ(full.exit_code, 1);
  EXPECT_EQ(full.stderr_text, "velmire: output: cannot write '/dev/full': No space left on device\n");

  // The reading end of the pipe goes away after a few bytes.
  ASSERT_EQ(RunShell(tool + " - 2> " + (dir / "err") + " | head -c 100 > /dev/null; " +
                     "exit ${PIPESTATUS[0]}"),
            1);
  EXPECT_EQ(ReadFile(dir / "err"),
            "velmire: output: standard output was closed by the program reading it (broken pipe)\n");

  // A named file that cannot be completed keeps its old content; no temporary is left.
  WriteFile(dir / "out.y4m", "previous content");
  ASSERT_EQ(RunShell("ulimit -f 200; " + tool + " " + (dir / "out.y4m") + " 2> " + (dir / "err")),
            1);
  EXPECT_EQ(ReadFile(dir / "err"),
            "velmire: output: cannot write '" + (dir / "out.y4m") + "': File too large\n");
  EXPECT_EQ(ReadFile(dir / "out.y4m"), "previous content");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(ToolFailure, RefusesToWriteVideoToATerminal) {
  if (RunShell("command -v script > /dev/null") != 0) GTEST_SKIP() << "script is not installed";
  TempDir dir;
  WriteFile(dir / "in.y4m", PatternStream(kHeader, kFrameBytes, 2));
  // script(1) runs the tool with a terminal as its standard output.
  const int status = RunShell("script -qec \"" + ToolCommandLine() + " --plugin " +
                              PluginPath() + " " + (dir / "in.y4m") + "\" /dev/null > " +
                              (dir / "screen"));
  EXPECT_EQ(status, 1);
  EXPECT_NE(ReadFile(dir / "screen").find("velmire: output: refusing to write video to a "
                                          "terminal (name an OUTPUT file or redirect standard "
                                          "output)"),
            std::string::npos)
      << ReadFile(dir / "screen");
}

}  // namespace
}  // namespace velmire::cli::testing
