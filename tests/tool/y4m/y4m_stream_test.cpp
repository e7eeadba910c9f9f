// Reading and writing YUV4MPEG2 streams: refusals, pass-through of the header and FRAME lines,
// truncation, pipes and the frame count of regular files.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tool/errors/cli_error.h"
#include "tool/run/input_file.h"
#include "tool/y4m/memory_stream.h"
#include "tool/y4m/y4m_reader.h"
#include "tool/y4m/y4m_writer.h"

namespace velmire::cli {
namespace {

std::string Frame(std::size_t bytes, char fill = 'x', const std::string& line = "FRAME") {
  return line + "\n" + std::string(bytes, fill);
}

// Reads every frame; returns the error text, or "" when the stream ended cleanly.
std::string ReadAll(const std::string& stream, int* frames = nullptr) {
  StringSource source(stream);
  try {
    Y4mReader reader(source);
    Y4mFrame frame;
    while (reader.ReadFrame(frame)) {
    }
    if (frames) *frames = static_cast<int>(reader.frames_read());
    return "";
  } catch (const InputError& e) {
    return e.what();
  }
}

struct RefusalCase {
  std::string stream;
  std::string message;
};

TEST(Y4mReader, RefusesWhatItCannotProcessWithOneClearLine) {
  const std::string big_header = "YUV4MPEG2 W4 H2 X" + std::string(20000, 'a') + "\n";
  const RefusalCase cases[] = {
      {"", "input: the stream is empty"},
      {"\x89PNG\r\n\x1a\n", "input: not a YUV4MPEG2 stream"},
      {"YUV4MPEG W4 H2\n", "input: not a YUV4MPEG2 stream"},
      {"YUV4MPEG2W4 H2\n", "input: not a YUV4MPEG2 stream"},
      {"YUV4MPEG2 W720 H480 C444\n",
       "input: unsupported colour space C444 (accepted: C420, C420jpeg, C420mpeg2, C420paldv or "
       "C422 at 8 bits, C420pN or C422pN at N = 9, 10, 12, 14 or 16 bits); convert it with "
       "ffmpeg -pix_fmt yuv422p"},
      // The hint keeps the source's depth, or the next deeper one accepted.
      {"YUV4MPEG2 W720 H480 C411\n", "bits); convert it with ffmpeg -pix_fmt yuv422p"},
      {"YUV4MPEG2 W720 H480 C444alpha\n", "bits); convert it with ffmpeg -pix_fmt yuv422p"},
      {"YUV4MPEG2 W720 H480 Cmono\n", "bits); convert it with ffmpeg -pix_fmt yuv420p"},
      {"YUV4MPEG2 W720 H480 Cmono16\n", "pix_fmt yuv420p16le -strict -1"},
      {"YUV4MPEG2 W720 H480 C444p10 XYSCSS=444P10\n", "pix_fmt yuv422p10le -strict -1"},
      {"YUV4MPEG2 W720 H480 C420p11\n", "pix_fmt yuv420p12le -strict -1"},
      {"YUV4MPEG2 W720 H480 C422p15\n", "pix_fmt yuv422p16le -strict -1"},
      {"YUV4MPEG2 W720 H480 C422p8\n", "unsupported colour space C422p8"},
      {"YUV4MPEG2 W720 H480 C420p10le\n", "unsupported colour space C420p10le"},
      {"YUV4MPEG2 W721 H480 C422\n", "input: odd width 721 is not supported"},
      {"YUV4MPEG2 W720 H481\n", "input: odd height 481 is not supported for 4:2:0"},
      {"YUV4MPEG2 W720 H481 C420jpeg\n", "odd height 481"},
      {"YUV4MPEG2 H480\n", "input: the header has no width (W tag)"},
      {"YUV4MPEG2 W720\n", "input: the header has no height (H tag)"},
      {"YUV4MPEG2 W0 H480\n", "input: invalid width 'W0'"},
      {"YUV4MPEG2 W-720 H480\n", "input: invalid width 'W-720'"},
      {"YUV4MPEG2 W720 Habc\n", "input: invalid height 'Habc'"},
      {"YUV4MPEG2 W H480\n", "input: invalid width 'W'"},
      {"YUV4MPEG2 W20000 H480\n",
       "input: frame size 20000x480 is too large (at most 16384 pixels on each side)"},
      {"YUV4MPEG2 W720 H99999999999999999999999\n", "is too large (at most 16384"},
      {"YUV4MPEG2 W4 H2", "input: the header line is cut off"},
      {big_header, "input: the header line is longer than"},
  };
  for (const RefusalCase& c : cases) {
    const std::string error = ReadAll(c.stream);
    EXPECT_NE(error.find(c.message), std::string::npos)
        << "stream: " << c.stream.substr(0, 60) << "\nerror:  " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

TEST(Y4mReader, ReportsWhichFrameIsBrokenOrTruncated) {
  const std::string header = "YUV4MPEG2 W4 H2 C420\n";  // 12 bytes per frame
  const RefusalCase cases[] = {
      {header + "FRAM\n" + std::string(12, 'x'), "input: frame 0 does not start with a FRAME line"},
      {header + Frame(12) + "JUNK\n", "input: frame 1 does not start with a FRAME line (found 'JUNK')"},
      {header + Frame(12) + "FRAMES\n", "frame 1 does not start with a FRAME line"},
      {header + Frame(12) + Frame(12) + "FRAME\n" + std::string(5, 'x'),
       "input: frame 2 is truncated (5 of 12 bytes)"},
      {header + Frame(12) + "FRAME\n", "input: frame 1 is truncated (0 of 12 bytes)"},
      {header + Frame(12) + "FRA", "input: frame 1 is truncated (the stream ends inside"},
      {header + "FRAME " + std::string(5000, 'p') + "\n", "frame 0 does not start with a FRAME"},
  };
  for (const RefusalCase& c : cases) {
    const std::string error = ReadAll(c.stream);
    EXPECT_NE(error.find(c.message), std::string::npos) << "error: " << error;
  }
}

TEST(Y4mReader, AcceptsEveryLayoutAndDepthItHandles) {
  struct Case {
    std::string header;
    ChromaLayout layout;
    int chroma_height;
    int bits;
  };
  const Case cases[] = {
      {"YUV4MPEG2 W6 H4", ChromaLayout::k420, 2, 8},
      {"YUV4MPEG2 W6 H4 C420", ChromaLayout::k420, 2, 8},
      {"YUV4MPEG2 W6 H4 C420jpeg", ChromaLayout::k420, 2, 8},
      {"YUV4MPEG2 W6 H4 C420mpeg2 XYSCSS=420MPEG2", ChromaLayout::k420, 2, 8},
      {"YUV4MPEG2 W6 H4 C420paldv", ChromaLayout::k420, 2, 8},
      {"YUV4MPEG2 W6 H4 C422", ChromaLayout::k422, 4, 8},
      {"YUV4MPEG2 W6 H3 C422", ChromaLayout::k422, 3, 8},
      {"YUV4MPEG2 W6 H4 C420p9 XYSCSS=420P9", ChromaLayout::k420, 2, 9},
      {"YUV4MPEG2 W6 H4 C420p10", ChromaLayout::k420, 2, 10},
      {"YUV4MPEG2 W6 H4 C420p12", ChromaLayout::k420, 2, 12},
      {"YUV4MPEG2 W6 H4 C420p14", ChromaLayout::k420, 2, 14},
      {"YUV4MPEG2 W6 H4 F25:1 Ip A1:1 C420p16 XYSCSS=420P16", ChromaLayout::k420, 2, 16},
      {"YUV4MPEG2 W6 H4 C422p9", ChromaLayout::k422, 4, 9},
      {"YUV4MPEG2 W6 H3 C422p10 XYSCSS=422P10 XCOLORRANGE=LIMITED", ChromaLayout::k422, 3, 10},
      {"YUV4MPEG2 W6 H4 C422p12", ChromaLayout::k422, 4, 12},
      {"YUV4MPEG2 W6 H4 C422p14", ChromaLayout::k422, 4, 14},
      {"YUV4MPEG2 W6 H4 C422p16", ChromaLayout::k422, 4, 16},
  };
  for (const Case& c : cases) {
    // Two frames read cleanly only when the frame size is right.
    const int height = c.layout == ChromaLayout::k420 ? 2 * c.chroma_height : c.chroma_height;
    const std::size_t frame_bytes =
        std::size_t((c.bits > 8 ? 2 : 1) * (6 * height + 2 * 3 * c.chroma_height));
    int frames = 0;
    EXPECT_EQ(ReadAll(c.header + "\n" + Frame(frame_bytes) + Frame(frame_bytes), &frames), "")
        << c.header;
    EXPECT_EQ(frames, 2) << c.header;
    StringSource source(c.header + "\n");
    Y4mReader reader(source);
    EXPECT_EQ(reader.geometry().layout, c.layout) << c.header;
    EXPECT_EQ(reader.geometry().chroma_width, 3) << c.header;
    EXPECT_EQ(reader.geometry().chroma_height, c.chroma_height) << c.header;
    EXPECT_EQ(reader.geometry().bits_per_sample, c.bits) << c.header;
    EXPECT_EQ(reader.header().line, c.header);
  }
}

TEST(Y4mStream, RoundTripKeepsHeaderAndFrameLinesVerbatim) {
  const std::string stream =
      "YUV4MPEG2 W4 H2 F30000:1001 It A10:11 C422 XYSCSS=422 XCOLORRANGE=LIMITED Xfoo\n" +
      Frame(16, 'a') + Frame(16, 'b', "FRAME Ib XSOME=thing") + Frame(16, '\n');
  StringSource source(stream);
  Y4mReader reader(source);
  StringSink sink;
  Y4mWriter writer(sink, reader.header());
  writer.WriteHeader();
  Y4mFrame frame;
  while (reader.ReadFrame(frame)) writer.WriteFrame(frame);
  EXPECT_EQ(reader.frames_read(), 3);
  EXPECT_EQ(sink.bytes(), stream);
}

TEST(Y4mStream, HeaderWithoutFramesIsAnEmptyClip) {
  int frames = -1;
  EXPECT_EQ(ReadAll("YUV4MPEG2 W4 H2\n", &frames), "");
  EXPECT_EQ(frames, 0);
}

TEST(Y4mReader, CountsFramesOfARegularFileButNotOfAPipe) {
  const std::string stream = "YUV4MPEG2 W4 H2 C420\n" + Frame(12) + Frame(12) + Frame(12);
  char path[] = "/tmp/velmire-y4m-XXXXXX";
  const int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, stream.data(), stream.size()), ssize_t(stream.size()));
  ::close(fd);
  {
    InputFile file(path);
    Y4mReader reader(file);
    EXPECT_EQ(reader.total_frames(), 3);
  }
  ::unlink(path);

  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  // The writer feeds the pipe in small pieces, so frames arrive split across reads.
  std::thread feeder([&] {
    for (std::size_t i = 0; i < stream.size(); i += 5) {
      const std::size_t n = std::min<std::size_t>(5, stream.size() - i);
      if (::write(fds[1], stream.data() + i, n) != ssize_t(n)) break;
    }
    ::close(fds[1]);
  });
  {
    InputFile pipe_input("/proc/self/fd/" + std::to_string(fds[0]));
    Y4mReader reader(pipe_input);
    EXPECT_EQ(reader.total_frames(), std::nullopt);
    Y4mFrame frame;
    int count = 0;
    while (reader.ReadFrame(frame)) ++count;
    EXPECT_EQ(count, 3);
  }
  feeder.join();
  ::close(fds[0]);
}

TEST(InputFile, NamesTheProblemWithTheFile) {
  EXPECT_THROW(
      {
        try {
          InputFile missing("/nonexistent/clip.y4m");
        } catch (const InputError& e) {
          EXPECT_STREQ(e.what(),
                       "input: cannot open '/nonexistent/clip.y4m': No such file or directory");
          throw;
        }
      },
      InputError);
  EXPECT_THROW(InputFile folder("/tmp"), InputError);
}

}  // namespace
}  // namespace velmire::cli
