// What happens to OUTPUT: it is replaced only by a run that read its input to the end (or to
// the last complete frame of a broken input); a failed or interrupted run leaves an existing
// file unchanged; an interrupted run keeps the complete frames of a new file; and every
// interruption is reported in one line.
#include <signal.h>
#include <sys/stat.h>
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

const std::string kHeader = "YUV4MPEG2 W64 H32 F25:1 C420jpeg";
constexpr std::size_t kFrameBytes = 64 * 32 * 3 / 2;

std::size_t FramesIn(const std::string& path) {
  return ParseStream(ReadFile(path)).frames.size();
}

TEST(OutputRule, AFailedPictureLeavesTheOutputAsItWas) {
  TempDir dir;
  WriteFile(dir / "in.y4m", PatternStream(kHeader, kFrameBytes, 20));
  const std::string old_output = PatternStream(kHeader, kFrameBytes, 3);
  struct Case {
    std::string compare;
    std::string message;
    std::size_t frames_after;  // in an OUTPUT that existed before; 0: unchanged
  };
  const Case cases[] = {
      // Refused before any frame is filtered.
      {"5:" + (dir / "none/c.png"),
       "velmire: picture: cannot write '" + (dir / "none/c.png") + "': No such file or directory\n",
       0},
      {"5:" + dir.path(), "velmire: picture: cannot write '" + dir.path() + "': Is a directory\n",
       0},
      // Fails while the frames are being filtered.
      {"5:/dev/full", "velmire: picture: cannot write '/dev/full': No space left on device\n", 0},
      // Known only at the end: the video is complete and kept.
      {"25:" + (dir / "late.png"),
       "velmire: picture: '" + (dir / "late.png") + "' was not written: frame 25 is past the end "
       "of the clip (20 frames, counted from 0); the video was written in full\n",
       20},
  };
  for (const Case& c : cases) {
    for (const bool existed : {true, false}) {
      if (existed) WriteFile(dir / "out.y4m", old_output);
      const ToolRun run = RunTool({"--plugin", PluginPath(), "-j", "2", "--compare", c.compare,
                                   dir / "in.y4m", dir / "out.y4m"});
      EXPECT_EQ(run.exit_code, 1) << c.compare;
      EXPECT_EQ(run.stderr_text, c.message);
      if (c.frames_after > 0) {
        EXPECT_EQ(FramesIn(dir / "out.y4m"), c.frames_after) << c.compare;
      } else if (existed) {
        EXPECT_EQ(ReadFile(dir / "out.y4m"), old_output) << c.compare;
      } else {
        EXPECT_FALSE(fs::exists(dir / "out.y4m")) << c.compare;
      }
      EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
                fs::exists(dir / "out.y4m") ? 2 : 1)
          << "a temporary or picture was left behind: " << c.compare;
      fs::remove(dir / "out.y4m");
    }
  }
}

TEST(OutputRule, InterruptSaysWhereTheFramesAreAndKeepsOnlyWhatIsWhole) {
  // The tool waits for these signals with sigwait while every thread blocks them; qemu-user
  // sometimes lets such a signal take its default action instead, so this runs natively only.
  if (ToolRunsUnderEmulator()) GTEST_SKIP() << "signals to an emulated tool are unreliable";
  struct Case {
    int signal_number;
    bool output_exists;
    std::string output;  // "-": standard output, into a file
    int frames_fed;      // then the input stalls; on one thread the tool finishes all but the last
    std::string message;
    std::vector<std::string> options = {};
  };
  TempDir dir;
  const std::string out = dir / "out.y4m";
  const Case cases[] = {
      {SIGINT, false, out, 3,
       "velmire: interrupted by SIGINT; '" + out + "' holds the first 2 frames, as a valid "
       "stream\n"},
      {SIGTERM, true, out, 3,
       "velmire: interrupted by SIGTERM; '" + out + "' is unchanged (the unfinished output was "
       "removed)\n"},
      {SIGHUP, false, "-", 3, "velmire: interrupted by SIGHUP; 2 frames went to standard output\n"},
      {SIGINT, false, out, 1,
       "velmire: interrupted by SIGINT; no frame was complete, so '" + out + "' was not created\n"},
      // A segment is of no use unless whole.
      {SIGINT, false, out, 3,
       "velmire: interrupted by SIGINT; '" + out + "' was not created (an unfinished segment is "
       "not kept)\n",
       {"--frames", "0:9"}},
  };
  const std::string previous = "previous content";
  for (const Case& c : cases) {
    fs::remove(out);
    if (c.output_exists) WriteFile(out, previous);
    const std::string stream = PatternStream(kHeader, kFrameBytes, c.frames_fed);
    // What the tool has written: its temporary file, or its standard output.
    auto written = [&]() -> std::uintmax_t {
      std::error_code ignored;
      if (c.output == "-") return fs::file_size(dir / "stdout", ignored);
      for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path().filename().string().rfind(".out.y4m.velmire-", 0) == 0) {
          return entry.file_size(ignored);
        }
      }
      return 0;
    };
    const std::uintmax_t expected =
        kHeader.size() + 1 + std::size_t(c.frames_fed - 1) * (6 + kFrameBytes);
    auto feed = [&](int fd, int pid) {
      ASSERT_EQ(::write(fd, stream.data(), stream.size()), ssize_t(stream.size()));
      for (int i = 0; i < 500 && written() < expected; ++i) ::usleep(10000);
      ::usleep(50000);  // the tool now waits for more input
      ::kill(pid, c.signal_number);
      // Keep the input open until the tool has gone, so that it cannot finish the run instead.
      const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
      for (int i = 0; i < 500 && ReadFile(stat).find(") Z ") == std::string::npos; ++i) {
        ::usleep(10000);
      }
    };
    std::vector<std::string> args = {"--plugin", PluginPath(), "-j", "1", "-", c.output};
    args.insert(args.begin(), c.options.begin(), c.options.end());
    const ToolRun run = RunToolFeeding(args, feed, dir / "stdout");
    EXPECT_EQ(run.signal, c.signal_number);
    EXPECT_EQ(run.stderr_text, c.message);
    const std::size_t frames = std::size_t(c.frames_fed - 1);
    if (c.output == "-") {
      EXPECT_EQ(FramesIn(dir / "stdout"), frames);
    } else if (c.output_exists) {
      EXPECT_EQ(ReadFile(out), previous);
    } else if (frames > 0 && c.options.empty()) {
      EXPECT_EQ(FramesIn(out), frames);
    } else {
      EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(written(), c.output == "-" ? expected : 0u) << "a temporary was left behind";
    fs::remove(dir / "stdout");
  }
}

}  // namespace
}  // namespace velmire::cli::testing
