// Interoperation with ffmpeg: it makes 4:2:0 and 4:2:2 test video at 8 bits and deeper, the
// tool filters it in a pipe (the 8-bit video through the built plug-in, the deeper video through
// the core, with a comparison picture), and ffmpeg decodes the result again with the same frame
// count, size, header and luma.
#include <string>

#include <gtest/gtest.h>

#include "tool/test_streams.h"
#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

TEST(FfmpegInterop, FilteredStreamsDecodeWithTheSameFramesAndLuma) {
  if (RunShell("command -v ffmpeg > /dev/null") != 0) GTEST_SKIP() << "ffmpeg is not installed";
  struct Case {
    const char* pix_fmt;
    const char* colour_tag;
    const char* luma_fmt;  // ffmpeg's greyscale format of the same depth
    int luma_bytes;        // per sample
  };
  for (const Case c : {Case{"yuv420p", "C420", "gray", 1}, Case{"yuv422p", "C422", "gray", 1},
                       Case{"yuv422p10le", "C422p10", "gray10le", 2},
                       Case{"yuv420p16le", "C420p16", "gray16le", 2}}) {
    TempDir dir;
    const std::string ffmpeg = "ffmpeg -nostdin -hide_banner -loglevel error ";
    const std::string source = ffmpeg +
        "-f lavfi -i testsrc2=size=176x144:rate=25:duration=0.6 -pix_fmt " + c.pix_fmt +
        " -strict -1 -f yuv4mpegpipe -";
    const std::string filter = c.luma_bytes == 1
                                   ? ToolCommandLine() + " --plugin " + PluginPath()
                                   : ToolCommandLine() + " --compare 7:" + (dir / "compare.png");
    const std::string luma = " -f rawvideo -pix_fmt " + std::string(c.luma_fmt) + " ";
    // ffmpeg -> velmire -> ffmpeg, all in one pipe; the plain source is kept for comparison.
    ASSERT_EQ(RunShell(source + " > " + (dir / "in.y4m")), 0);
    ASSERT_EQ(RunShell("set -o pipefail; " + source + " | " + filter + " | tee " +
                       (dir / "out.y4m") + " | " + ffmpeg + "-f yuv4mpegpipe -i -" + luma +
                       (dir / "out.gray")),
              0)
        << c.pix_fmt;
    ASSERT_EQ(RunShell(ffmpeg + "-i " + (dir / "in.y4m") + luma + (dir / "in.gray")), 0);
    if (c.luma_bytes == 2) {
      EXPECT_NE(ReadFile(dir / "compare.png").find("PNG"), std::string::npos) << c.pix_fmt;
    }

    const ParsedStream in = ParseStream(ReadFile(dir / "in.y4m"));
    const ParsedStream out = ParseStream(ReadFile(dir / "out.y4m"));
    EXPECT_NE(in.header.find(std::string(" ") + c.colour_tag), std::string::npos) << in.header;
    EXPECT_NE(in.header.find(" X"), std::string::npos) << "ffmpeg wrote no X tag: " << in.header;
    EXPECT_EQ(out.header, in.header);
    EXPECT_EQ(out.frames.size(), 15u) << c.pix_fmt;
    EXPECT_EQ(out.frames.size(), in.frames.size());
    const std::string in_luma = ReadFile(dir / "in.gray");
    EXPECT_EQ(in_luma.size(), 15u * 176 * 144 * unsigned(c.luma_bytes));
    EXPECT_EQ(ReadFile(dir / "out.gray"), in_luma) << c.pix_fmt;
  }
}

}  // namespace
}  // namespace velmire::cli::testing
