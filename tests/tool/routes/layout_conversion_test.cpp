// Conversions between stream-order frames and the host's I420 and YUY2 layouts.
#include <cstdint>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "tool/routes/layout_conversion.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::cli {
namespace {

std::vector<std::uint8_t> CountingFrame(std::size_t size) {
  std::vector<std::uint8_t> frame(size);
  std::iota(frame.begin(), frame.end(), std::uint8_t{1});
  return frame;
}

TEST(LayoutConversion, I420RoundTripThroughPaddedPlanes) {
  struct Size {
    int w, h, luma_pitch, chroma_pitch;
  };
  for (const Size s : {Size{6, 4, 16, 8}, Size{2, 2, 2, 1}, Size{10, 6, 32, 32}}) {
    const FrameGeometry g = MakeFrameGeometry(ChromaLayout::k420, s.w, s.h);
    const std::vector<std::uint8_t> frame = CountingFrame(g.frame_bytes());
    std::vector<std::uint8_t> y(std::size_t(s.luma_pitch * s.h), 0xEE);
    std::vector<std::uint8_t> u(std::size_t(s.chroma_pitch * s.h / 2), 0xEE);
    std::vector<std::uint8_t> v(u.size(), 0xEE);
    StreamFrameToI420(frame.data(), s.w, s.h, {y.data(), s.luma_pitch}, {u.data(), s.chroma_pitch},
                      {v.data(), s.chroma_pitch});
    // Second row of each plane starts one pitch further on.
    EXPECT_EQ(y[std::size_t(s.luma_pitch)], frame[std::size_t(s.w)]);
    if (s.h >= 4) {
      EXPECT_EQ(u[std::size_t(s.chroma_pitch)], frame[g.luma_bytes() + std::size_t(s.w / 2)]);
    }
    EXPECT_EQ(v[0], frame[g.luma_bytes() + g.chroma_bytes()]);
    if (s.luma_pitch > s.w) {
      EXPECT_EQ(y[std::size_t(s.w)], 0xEE) << "padding written";
    }

    std::vector<std::uint8_t> back(g.frame_bytes(), 0);
    I420ToStreamFrame({y.data(), s.luma_pitch}, {u.data(), s.chroma_pitch},
                      {v.data(), s.chroma_pitch}, s.w, s.h, back.data());
    EXPECT_EQ(back, frame) << s.w << "x" << s.h;
  }
}

TEST(LayoutConversion, YUY2PacksY0UY1VAndRoundTrips) {
  // 4x2 frame: Y 1..8, U 9..12, V 13..16.
  const FrameGeometry g = MakeFrameGeometry(ChromaLayout::k422, 4, 2);
  const std::vector<std::uint8_t> frame = CountingFrame(g.frame_bytes());
  const int pitch = 12;
  std::vector<std::uint8_t> yuy2(std::size_t(pitch * 2), 0xEE);
  StreamFrameToYUY2(frame.data(), 4, 2, {yuy2.data(), pitch});
  const std::vector<std::uint8_t> expected = {1, 9,  2, 13, 3, 10, 4, 14, 0xEE, 0xEE, 0xEE, 0xEE,
                                              5, 11, 6, 15, 7, 12, 8, 16, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(yuy2, expected);

  std::vector<std::uint8_t> back(g.frame_bytes(), 0);
  YUY2ToStreamFrame({yuy2.data(), pitch}, 4, 2, back.data());
  EXPECT_EQ(back, frame);
}

}  // namespace
}  // namespace velmire::cli
