// Finding frame k of a stream by arithmetic: accepted only where the stream shows that its
// frames are of one size, and a reader placed there reads frame k and those after it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/y4m/fixed_frame_layout.h"
#include "tool/y4m/memory_stream.h"
#include "tool/y4m/y4m_reader.h"

namespace velmire::cli {
namespace {

// 4x2 4:2:0: 12 bytes a frame, 18 with "FRAME\n".
const std::string kHeader = "YUV4MPEG2 W4 H2 C420";
constexpr std::size_t kFrameBytes = 12;
// Parameters exactly one frame long, so that the stream's size still adds up to whole frames.
const std::string kFrameLong = "FRAME X" + std::string(16, 'p');

std::string Stream(const std::vector<std::string>& frame_lines) {
  std::string stream = kHeader + "\n";
  for (std::size_t k = 0; k < frame_lines.size(); ++k) {
    stream += frame_lines[k] + "\n" + std::string(kFrameBytes, char('a' + k));
  }
  return stream;
}

TEST(FixedFrameLayout, AcceptsOnlyStreamsThatShowFixedFramesWhereItLooks) {
  const std::vector<std::string> plain(6, "FRAME");
  std::vector<std::string> first_long = plain, third_long = plain;
  first_long[0] = kFrameLong;
  third_long[2] = kFrameLong;
  third_long.pop_back();
  struct Case {
    const char* what;
    std::string stream;
    std::int64_t landing;
    std::optional<std::int64_t> frames;  // nullopt: to be read frame by frame
  };
  const Case cases[] = {
      {"plain frames", Stream(plain), 4, 6},
      {"plain frames, landing on the last", Stream(plain), 5, 6},
      {"no frames", Stream({}), 3, 0},
      {"a cut last frame", Stream(plain).substr(0, Stream(plain).size() - 1), 1, std::nullopt},
      {"parameters on the first frame", Stream(first_long), 3, std::nullopt},
      {"parameters of a frame's length on the way", Stream(third_long), 4, std::nullopt},
  };
  const Y4mHeader header = ParseY4mHeader(kHeader);
  for (const Case& c : cases) {
    const ReadBytesAt read_at = [&](std::uint64_t offset, void* dst, std::size_t size) {
      if (offset + size > c.stream.size()) return false;
      c.stream.copy(static_cast<char*>(dst), size, offset);
      return true;
    };
    const std::optional<FixedFrameLayout> layout =
        ProbeFixedFrameLayout(header, c.stream.size(), c.landing, read_at);
    ASSERT_EQ(layout.has_value(), c.frames.has_value()) << c.what;
    if (!layout || layout->frames == 0) continue;
    EXPECT_EQ(layout->frames, *c.frames) << c.what;

    // A reader placed where the layout says reads frame `landing` and the rest, numbered so.
    StringSource rest(c.stream.substr(layout->FrameOffset(c.landing)));
    Y4mReader reader(rest, header, c.landing);
    Y4mFrame frame;
    for (std::int64_t k = c.landing; k < layout->frames; ++k) {
      ASSERT_TRUE(reader.ReadFrame(frame)) << c.what;
      EXPECT_EQ(frame.data[0], 'a' + k) << c.what;
    }
    EXPECT_FALSE(reader.ReadFrame(frame));
    EXPECT_EQ(reader.frames_read(), layout->frames);
  }
}

}  // namespace
}  // namespace velmire::cli
