// Stream-order frames through the core. 4:2:2 is filtered on its planes and must give the bytes
// of the YUY2 pass on the same frames packed and unpacked again, which is what the tool wrote
// while it packed every 4:2:2 frame. Deep frames, widened from 8-bit ones, must give the 8-bit
// result widened: the tool hands the core byte-sized rows of two-byte samples.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/cross_color.h"
#include "tool/routes/layout_conversion.h"
#include "tool/routes/stream_frame_filter.h"

namespace velmire::cli {
namespace {

using Frame = std::vector<std::uint8_t>;

// Three frames of one clip: luma of random vertical stripes (fine detail the filter marks) on a
// random ramp, chroma random but alike from frame to frame, so that matches are found.
std::vector<Frame> RandomClip(const FrameGeometry& g, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<Frame> clip(3, Frame(g.frame_bytes()));
  std::vector<std::uint8_t> stripes(std::size_t(g.width));
  for (std::uint8_t& s : stripes) s = std::uint8_t(random() % 2 ? 200 : 40);
  Frame chroma(2 * g.chroma_bytes());
  for (std::uint8_t& c : chroma) c = std::uint8_t(random());
  for (Frame& frame : clip) {
    for (int r = 0; r < g.height; ++r) {
      const bool striped = random() % 3 != 0;
      for (int x = 0; x < g.width; ++x) {
        frame[std::size_t(r * g.width + x)] =
            std::uint8_t(striped ? stripes[std::size_t(x)] + random() % 8 : x + r);
      }
    }
    for (std::size_t i = 0; i < chroma.size(); ++i) {
      frame[g.luma_bytes() + i] = std::uint8_t(chroma[i] + random() % 5);
    }
  }
  return clip;
}

Frame FilterPacked(const FrameGeometry& g, const Settings& settings, const KernelSet& kernels,
                   const std::vector<Frame>& clip) {
  const int row = 2 * g.width;
  std::vector<Frame> packed(4, Frame(std::size_t(row) * std::size_t(g.height)));
  for (std::size_t i = 0; i < 3; ++i) {
    StreamFrameToYUY2(clip[i].data(), g.width, g.height, {packed[i].data(), row});
  }
  packed[3] = packed[1];
  const auto view = [&](const Frame& f) {
    return FrameView{PlaneView{f.data(), row, row, g.height}, {}, {}};
  };
  ReduceCrossColor({Layout::kYUY2, 8}, settings, kernels, view(packed[0]), view(packed[1]),
                   view(packed[2]), {WritablePlaneView{packed[3].data(), row, row, g.height}, {}, {}});
  Frame out(g.frame_bytes());
  YUY2ToStreamFrame({packed[3].data(), row}, g.width, g.height, out.data());
  return out;
}

// Samples widened to `bits` (two bytes, little-endian), or cut back to 8 bits.
Frame Widen(const Frame& frame, int bits) {
  Frame wide(2 * frame.size());
  for (std::size_t i = 0; i < frame.size(); ++i) {
    const unsigned sample = unsigned(frame[i]) << (bits - 8);
    wide[2 * i] = std::uint8_t(sample);
    wide[2 * i + 1] = std::uint8_t(sample >> 8);
  }
  return wide;
}

Frame Narrow(const Frame& wide, int bits) {
  Frame frame(wide.size() / 2);
  for (std::size_t i = 0; i < frame.size(); ++i) {
    frame[i] = std::uint8_t((wide[2 * i] | wide[2 * i + 1] << 8) >> (bits - 8));
  }
  return frame;
}

struct Case {
  int width, height;
  Settings settings;
};

const Case kCases[] = {
    {64, 32, Settings{}},
    {50, 7, Settings::Clamped(10, 200, 4, false)},
    {18, 5, Settings::Clamped(0, 255, 0, true)},
    {130, 9, Settings::Clamped(20, 120, 2, false)},
};

std::string Label(const Case& c, const KernelSet& kernels) {
  return std::to_string(c.width) + "x" + std::to_string(c.height) + " " +
         std::to_string(c.settings.ThresholdY) + ":" + std::to_string(c.settings.Noise) + ":" +
         std::to_string(c.settings.Margin) + (c.settings.Debug ? " debug " : " ") +
         std::string(KernelSetName(kernels));
}

TEST(FilterStreamFrame, Planar422GivesTheBytesOfThePackedPass) {
  for (const KernelSet* kernels : AvailableKernels()) {
    for (const Case& c : kCases) {
      const FrameGeometry g = MakeFrameGeometry(ChromaLayout::k422, c.width, c.height);
      const std::vector<Frame> clip = RandomClip(g, std::uint32_t(c.width * 31 + c.height));
      const Frame planar =
          FilterStreamFrame(g, c.settings, *kernels, clip[0].data(), clip[1].data(), clip[2].data());
      EXPECT_EQ(planar, FilterPacked(g, c.settings, *kernels, clip)) << Label(c, *kernels);
      EXPECT_NE(planar, clip[1]) << "nothing filtered: " << Label(c, *kernels);
    }
  }
}

TEST(FilterStreamFrame, DeepFramesGiveTheEightBitResultWidened) {
  for (const ChromaLayout layout : {ChromaLayout::k420, ChromaLayout::k422}) {
    for (const int bits : {9, 10, 16}) {
      for (const Case& c : kCases) {
        // Even for 4:2:0, and two rows more, so that every case has rows the filter works on.
        const int height = c.height + c.height % 2 + 2;
        const FrameGeometry g8 = MakeFrameGeometry(layout, c.width, height);
        const FrameGeometry g = MakeFrameGeometry(layout, c.width, height, bits);
        const std::vector<Frame> clip = RandomClip(g8, std::uint32_t(c.width * 31 + height));
        const Frame expected = FilterStreamFrame(g8, c.settings, BestKernels(), clip[0].data(),
                                                 clip[1].data(), clip[2].data());
        const Frame deep =
            FilterStreamFrame(g, c.settings, BestKernels(), Widen(clip[0], bits).data(),
                              Widen(clip[1], bits).data(), Widen(clip[2], bits).data());
        EXPECT_NE(expected, clip[1]) << "nothing filtered: " << Label(c, BestKernels());
        EXPECT_EQ(Narrow(deep, bits), expected)
            << bits << " bits, " << (layout == ChromaLayout::k422 ? "4:2:2 " : "4:2:0 ")
            << Label(c, BestKernels());
      }
    }
  }
}

}  // namespace
}  // namespace velmire::cli
