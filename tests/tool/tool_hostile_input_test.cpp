// Hostile input of every kind: each case ends with one clear line on standard error, a
// non-zero exit, no crash, and no output beyond the complete frames before the fault.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/test_streams.h"
#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

namespace fs = std::filesystem;

struct HostileCase {
  const char* what;
  std::string input;
  std::string messageStart;  // the line must start with this
  size_t completeFrames;     // frames the output must hold (no output file at all when 0)
};

std::string Frames(int count, size_t bytes) {
  std::string out;
  for (int i = 0; i < count; ++i) out += "FRAME\n" + std::string(bytes, static_cast<char>(16 + i));
  return out;
}

TEST(ToolHostileInput, EndsWithOneLineAndNoPartialOutput) {
  const std::string header = "YUV4MPEG2 W32 H16 F25:1 C420\n";
  const size_t frame = 32 * 16 * 3 / 2;
  const std::vector<HostileCase> cases = {
      {"no width", "YUV4MPEG2 H480 F25:1\n", "velmire: input: ", 0},
      {"no height", "YUV4MPEG2 W720 F25:1\n", "velmire: input: ", 0},
      {"zero width", "YUV4MPEG2 W0 H480\n", "velmire: input: ", 0},
      {"negative height", "YUV4MPEG2 W720 H-480\n", "velmire: input: ", 0},
      {"non-numeric width", "YUV4MPEG2 Wabc H480\n", "velmire: input: ", 0},
      {"huge width", "YUV4MPEG2 W99999999999999999999 H480\n", "velmire: input: ", 0},
      {"absurd area", "YUV4MPEG2 W16384 H16384 C422\n" + Frames(1, 16), "velmire: input: ", 0},
      {"C411", "YUV4MPEG2 W720 H480 C411\n", "velmire: input: unsupported colour space C411", 0},
      {"Cmono", "YUV4MPEG2 W720 H480 Cmono\n", "velmire: input: unsupported colour space Cmono", 0},
      {"odd 4:2:0 height", "YUV4MPEG2 W720 H481 C420\n", "velmire: input: ", 0},
      {"header without newline", "YUV4MPEG2 W32 H16", "velmire: input: ", 0},
      {"garbage FRAME line", header + Frames(2, frame) + "FRAME\x01\x02garbage\n", "velmire: input: ",
       2},
      {"truncated frame", header + Frames(2, frame) + "FRAME\n" + std::string(10, 'x'),
       "velmire: input: frame 2 is truncated", 2},
      {"extra bytes after the last frame", header + Frames(3, frame) + "xy", "velmire: input: ", 3},
      {"binary noise", std::string("\x00\xff\x10YUV4MPEG2", 12), "velmire: input: ", 0},
  };
  TempDir dir;
  for (const HostileCase& c : cases) {
    fs::remove(dir / "out.y4m");
    WriteFile(dir / "in.y4m", c.input);
    const ToolRun run = RunTool({"--plugin", PluginPath(), dir / "in.y4m", dir / "out.y4m"});
    EXPECT_EQ(run.signal, 0) << c.what;
    EXPECT_EQ(run.exit_code, 1) << c.what;
    EXPECT_EQ(run.stderr_text.rfind(c.messageStart, 0), 0u) << c.what << ": " << run.stderr_text;
    EXPECT_EQ(std::count(run.stderr_text.begin(), run.stderr_text.end(), '\n'), 1) << c.what;
    if (c.completeFrames == 0) {
      EXPECT_FALSE(fs::exists(dir / "out.y4m")) << c.what;
    } else {
      const ParsedStream out = ParseStream(ReadFile(dir / "out.y4m"));
      EXPECT_EQ(out.frames.size(), c.completeFrames) << c.what;
    }
    // No temporary file is left behind in any case.
    for (const auto& entry : fs::directory_iterator(dir.path()))
      EXPECT_TRUE(entry.path().filename() == "in.y4m" || entry.path().filename() == "out.y4m")
          << c.what << ": " << entry.path();
  }
}

TEST(ToolHostileInput, RefusesALibraryWithoutTheEntryPoint) {
  TempDir dir;
  WriteFile(dir / "in.y4m", "YUV4MPEG2 W32 H16 C420\n" + Frames(1, 32 * 16 * 3 / 2));
  const ToolRun run =
      RunTool({"--plugin", VELMIRE_NOT_A_PLUGIN_PATH, dir / "in.y4m", dir / "out.y4m"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.stderr_text.find("is not a plug-in: it has no entry point AvisynthPluginInit2"),
            std::string::npos)
      << run.stderr_text;
  EXPECT_EQ(std::count(run.stderr_text.begin(), run.stderr_text.end(), '\n'), 1);
  EXPECT_FALSE(fs::exists(dir / "out.y4m"));
}

}  // namespace
}  // namespace velmire::cli::testing
