// The tool end to end on streams it makes itself: pass-through of the header and FRAME lines,
// luma untouched, identical output for every thread count, and the comparison picture.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/tool_process.h"
#include "tool/test_streams.h"

namespace velmire::cli::testing {
namespace {

TEST(Tool, PassesHeaderAndFrameLinesThroughAndKeepsLuma) {
  TempDir dir;
  // A 4:2:2 clip whose header has X tags and whose FRAME lines carry parameters.
  const std::string clip = DemoStream(ChromaLayout::k422, 64, 32, 3);
  ParsedStream parsed = ParseStream(clip);
  const std::string header = "YUV4MPEG2 W64 H32 F25:1 Ib A1:1 C422 XYSCSS=422 XCOLORRANGE=LIMITED Xvendor=x";
  std::string stream = header + "\n";
  const std::string lines[] = {"FRAME", "FRAME Ixyz", "FRAME XA=1 XB=2"};
  for (int i = 0; i < 3; ++i) {
    stream += lines[i] + "\n";
    stream.append(parsed.frames[std::size_t(i)].data.begin(), parsed.frames[std::size_t(i)].data.end());
  }
  WriteFile(dir / "in.y4m", stream);

  const ToolRun run = RunTool({"--plugin", PluginPath(), dir / "in.y4m", dir / "out.y4m"});
  ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
  EXPECT_EQ(run.stderr_text, "");
  const ParsedStream out = ParseStream(ReadFile(dir / "out.y4m"));
  EXPECT_EQ(out.header, header);
  ASSERT_EQ(out.frames.size(), 3u);
  bool chroma_changed = false;
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(out.frames[i].frame_line, lines[i]);
    EXPECT_EQ(Luma(out.frames[i], 64, 32), Luma(parsed.frames[i], 64, 32));
    chroma_changed |= out.frames[i].data != parsed.frames[i].data;
  }
  EXPECT_TRUE(chroma_changed) << "the filter corrected nothing on a clip with cross-colour";
}

TEST(Tool, OutputIsIdenticalForAnyNumberOfThreads) {
  TempDir dir;
  for (ChromaLayout layout : {ChromaLayout::k420, ChromaLayout::k422}) {
    WriteFile(dir / "in.y4m", DemoStream(layout, 96, 48, 9));
    std::vector<std::string> outputs;
    for (const char* threads : {"1", "2", "4"}) {
      const ToolRun run = RunTool({"-j", threads, "--plugin", PluginPath(), "-"}, dir / "in.y4m",
                                   dir / "out.y4m");
      ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
      outputs.push_back(ReadFile(dir / "out.y4m"));
    }
    EXPECT_EQ(ParseStream(outputs[0]).frames.size(), 9u);
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_EQ(outputs[0], outputs[2]);
    EXPECT_NE(outputs[0], ReadFile(dir / "in.y4m"));
  }
}

// The built-in filter, the 2.5 plug-in library run in the tool's own host, and the portable
// kernels all give the default's bytes; an unknown kernel set is refused.
TEST(Tool, CoreAndPluginLibraryAndPortableKernelsGiveTheSameBytes) {
  TempDir dir;
  const std::vector<std::vector<std::string>> ways = {
      {}, {"--plugin", PluginPath()}, {"--kernels", "portable"}};
  for (ChromaLayout layout : {ChromaLayout::k420, ChromaLayout::k422}) {
    WriteFile(dir / "in.y4m", DemoStream(layout, 98, 30, 4));
    for (const char* debug : {"--no-progress", "--debug"}) {
      std::vector<std::string> outputs;
      for (std::vector<std::string> args : ways) {
        args.insert(args.end(), {debug, dir / "in.y4m", dir / "out.y4m"});
        const ToolRun run = RunTool(args);
        ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
        outputs.push_back(ReadFile(dir / "out.y4m"));
      }
      EXPECT_NE(outputs[0], ReadFile(dir / "in.y4m"));
      EXPECT_EQ(outputs[1], outputs[0]) << "plug-in library, " << debug;
      EXPECT_EQ(outputs[2], outputs[0]) << "portable kernels, " << debug;
    }
  }
  const ToolRun unknown = RunTool({"--kernels", "mmx", dir / "in.y4m", dir / "out.y4m"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_NE(unknown.stderr_text.find("--kernels needs portable, sse2, avx2 or neon, not 'mmx'"),
            std::string::npos)
      << unknown.stderr_text;
}

TEST(Tool, WritesTheComparisonPicture) {
  TempDir dir;
  WriteFile(dir / "in.y4m", DemoStream(ChromaLayout::k420, 96, 48, 4));
  const ToolRun run =
      RunTool({"--compare", "2:" + (dir / "cmp.png"), dir / "in.y4m", dir / "out.y4m"});
  ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
  const std::string png = ReadFile(dir / "cmp.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(1, 3), "PNG");

  const ToolRun late = RunTool({"--compare", "9:" + (dir / "late.png"), dir / "in.y4m",
                                 dir / "out2.y4m"});
  EXPECT_EQ(late.exit_code, 1);
  EXPECT_NE(late.stderr_text.find("late.png' was not written: frame 9 is past the end of the "
                                  "clip (4 frames"),
            std::string::npos)
      << late.stderr_text;
}

TEST(Tool, ProgressReportsFramesAndTotalOfAFile) {
  TempDir dir;
  WriteFile(dir / "in.y4m", DemoStream(ChromaLayout::k420, 64, 32, 5));
  const ToolRun run = RunTool({"--progress", "--plugin", PluginPath(), dir / "in.y4m",
                                dir / "out.y4m"});
  ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
  EXPECT_NE(run.stderr_text.find("frame 5 of 5 (100.0%)"), std::string::npos) << run.stderr_text;
}

}  // namespace
}  // namespace velmire::cli::testing
