// The comparison picture: the crop lands on the most corrected area and the PNG is readable.
#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/errors/cli_error.h"
#include "tool/compare/comparison_picture.h"
#include "tool/compare/most_corrected_area.h"
#include "tool/compare/png_writer.h"
#include "tool/compare/rgb_conversion.h"

namespace velmire::cli {
namespace {

struct TestFrame {
  FrameGeometry g;
  std::vector<std::uint8_t> data;
  TestFrame(ChromaLayout layout, int w, int h, std::uint8_t y, std::uint8_t u, std::uint8_t v)
      : g(MakeFrameGeometry(layout, w, h)), data(g.frame_bytes(), y) {
    std::fill(data.begin() + long(g.luma_bytes()), data.begin() + long(g.luma_bytes() + g.chroma_bytes()), u);
    std::fill(data.begin() + long(g.luma_bytes() + g.chroma_bytes()), data.end(), v);
  }
  std::uint8_t& U(int i, int j) { return data[g.luma_bytes() + std::size_t(j * g.chroma_width + i)]; }
  StreamFrameView view() const { return ViewStreamFrame(g, data.data()); }
};

TEST(MostCorrectedArea, FindsTheChangedPatchInBothLayouts) {
  struct Case {
    ChromaLayout layout;
    int patch_i, patch_j;         // chroma position of the changed 3x3 patch
    PixelRect expected_contains;  // picture area of the patch
  };
  const Case cases[] = {
      {ChromaLayout::k422, 30, 40, {60, 40, 6, 3}},
      {ChromaLayout::k420, 5, 2, {10, 4, 6, 6}},
      {ChromaLayout::k420, 45, 25, {90, 50, 6, 6}},
  };
  for (const Case& c : cases) {
    TestFrame before(c.layout, 96, 56, 100, 128, 128);
    TestFrame after = before;
    for (int dj = 0; dj < 3; ++dj) {
      for (int di = 0; di < 3; ++di) after.U(c.patch_i + di, c.patch_j + dj) = 90;
    }
    const PixelRect r = FindMostCorrectedArea(before.view(), after.view(), 32, 16);
    EXPECT_EQ(r.width, 32);
    EXPECT_EQ(r.height, 16);
    EXPECT_LE(r.x, c.expected_contains.x);
    EXPECT_LE(r.y, c.expected_contains.y);
    EXPECT_GE(r.x + r.width, c.expected_contains.x + c.expected_contains.width);
    EXPECT_GE(r.y + r.height, c.expected_contains.y + c.expected_contains.height);
    EXPECT_LE(r.x + r.width, 96);
    EXPECT_LE(r.y + r.height, 56);
  }
  // Unchanged frames: the centre; a crop larger than the frame: the whole frame.
  TestFrame flat(ChromaLayout::k420, 96, 56, 100, 128, 128);
  const PixelRect centre = FindMostCorrectedArea(flat.view(), flat.view(), 32, 16);
  EXPECT_EQ(centre.x, 32);
  EXPECT_EQ(centre.y, 20);
  const PixelRect whole = FindMostCorrectedArea(flat.view(), flat.view(), 500, 500);
  EXPECT_EQ(whole.x, 0);
  EXPECT_EQ(whole.width, 96);
  EXPECT_EQ(whole.height, 56);
}

TEST(RgbConversion, MapsStudioRangeBT601) {
  struct Case {
    std::uint8_t y, u, v;
    std::uint8_t r, g, b;
  };
  const Case cases[] = {
      {16, 128, 128, 0, 0, 0},
      {235, 128, 128, 255, 255, 255},
      {81, 90, 240, 255, 0, 0},
      {41, 240, 110, 0, 0, 255},
  };
  for (const Case& c : cases) {
    TestFrame f(ChromaLayout::k422, 2, 1, c.y, c.u, c.v);
    const RgbImage rgb = ToRgb(f.view(), {0, 0, 2, 1});
    EXPECT_NEAR(rgb.at(1, 0)[0], c.r, 2);
    EXPECT_NEAR(rgb.at(1, 0)[1], c.g, 2);
    EXPECT_NEAR(rgb.at(1, 0)[2], c.b, 2);
  }
}

RgbImage ReadPng(const std::string& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return {};
  png.format = PNG_FORMAT_RGB;
  RgbImage image(int(png.width), int(png.height));
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return {};
  return image;
}

TEST(ComparisonPicture, WritesAReadablePngOfThreeEnlargedPanels) {
  TestFrame input(ChromaLayout::k420, 64, 48, 120, 128, 128);
  TestFrame output = input, debug = input;
  output.U(10, 10) = 60;
  debug.U(10, 10) = 128;
  const ComparisonLayout layout{16, 8, 3, 4};
  const RgbImage picture =
      ComposeComparison(input.view(), output.view(), debug.view(), 7, layout);
  EXPECT_GE(picture.width, 3 * 16 * 3 + 2 * 4);
  EXPECT_GT(picture.height, 8 * 3);
  // Where nothing was corrected the picture says so, on a line of its own.
  const RgbImage unchanged =
      ComposeComparison(input.view(), input.view(), debug.view(), 7, layout);
  EXPECT_GT(unchanged.height, picture.height);

  char dir[] = "/tmp/velmire-png-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/compare.png";
  WritePng(path, picture);
  const RgbImage back = ReadPng(path);
  EXPECT_EQ(back.width, picture.width);
  EXPECT_EQ(back.height, picture.height);
  EXPECT_EQ(back.pixels, picture.pixels);
  ::unlink(path.c_str());
  ::rmdir(dir);
}

// Samples widened to `bits`, with the same noise below the top 8 bits in every frame.
std::vector<std::uint8_t> Widen(const std::vector<std::uint8_t>& frame, int bits) {
  std::vector<std::uint8_t> wide(2 * frame.size());
  for (std::size_t i = 0; i < frame.size(); ++i) {
    const unsigned sample = unsigned(frame[i]) << (bits - 8) | (i * 5 % (1u << (bits - 8)));
    wide[2 * i] = std::uint8_t(sample);
    wide[2 * i + 1] = std::uint8_t(sample >> 8);
  }
  return wide;
}

TEST(ComparisonPicture, DeepFramesShowTheirTopEightBits) {
  for (const ChromaLayout layout : {ChromaLayout::k420, ChromaLayout::k422}) {
    TestFrame input(layout, 64, 48, 120, 100, 160);
    for (std::size_t i = 0; i < input.g.luma_bytes(); ++i) input.data[i] = std::uint8_t(16 + i % 220);
    TestFrame output = input, debug = input;
    output.U(20, 10) = 60;
    debug.U(20, 10) = 128;
    const ComparisonLayout small{16, 8, 2, 4};
    const RgbImage expected =
        ComposeComparison(input.view(), output.view(), debug.view(), 3, small);
    for (const int bits : {9, 10, 16}) {
      const FrameGeometry g = MakeFrameGeometry(layout, 64, 48, bits);
      const auto in = Widen(input.data, bits), out = Widen(output.data, bits),
                 mask = Widen(debug.data, bits);
      const RgbImage picture = ComposeComparison(ViewStreamFrame(g, in.data()),
                                                 ViewStreamFrame(g, out.data()),
                                                 ViewStreamFrame(g, mask.data()), 3, small);
      EXPECT_EQ(picture.pixels, expected.pixels) << bits << " bits";
    }
  }
}

TEST(PngWriter, ReportsFailuresWithTheFileName) {
  const RgbImage image(8, 8);
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {"/nonexistent-folder/x.png", "picture: cannot write '/nonexistent-folder/x.png': No such file"},
      {"/dev/full", "picture: cannot write '/dev/full': No space left on device"},
  };
  for (const Case& c : cases) {
    try {
      WritePng(c.path, image);
      ADD_FAILURE() << "no error for " << c.path;
    } catch (const OutputError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace velmire::cli
