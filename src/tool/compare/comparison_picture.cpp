#include "tool/compare/comparison_picture.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tool/compare/bitmap_font.h"
#include "tool/compare/most_corrected_area.h"
#include "tool/compare/rgb_conversion.h"

namespace velmire::cli {
namespace {

constexpr int kCaptionScale = 2;
constexpr int kCaptionHeight = kGlyphHeight * kCaptionScale + 8;
constexpr int kTextMargin = 4;
constexpr int kSwatchSize = kGlyphHeight * kCaptionScale;
constexpr std::uint8_t kBackdrop = 40;
// The debug frame paints the marked chroma positions with these values.
constexpr std::uint8_t kMarkU = 128, kMarkV = 255;

void PasteEnlarged(const RgbImage& src, int zoom, RgbImage& dst, int left, int top) {
  for (int y = 0; y < src.height * zoom; ++y) {
    for (int x = 0; x < src.width * zoom; ++x) {
      std::memcpy(dst.at(left + x, top + y), src.at(x / zoom, y / zoom), 3);
    }
  }
}

void Caption(RgbImage& dst, std::string_view text, int left, int top = 0) {
  DrawText(text, left + kTextMargin, top + kTextMargin, kCaptionScale, [&](int x, int y) {
    if (x >= 0 && x < dst.width && y >= 0 && y < dst.height) std::memset(dst.at(x, y), 255, 3);
  });
}

int TextWidth(std::string_view text) {
  return 2 * kTextMargin + int(text.size()) * kGlyphAdvance * kCaptionScale;
}

// The colour of a marked position over mid-grey luma, as the MASK panel shows it.
std::array<std::uint8_t, 3> MarkColour() {
  const FrameGeometry g = MakeFrameGeometry(ChromaLayout::k422, 2, 1);
  const std::array<std::uint8_t, 4> sample = {126, 126, kMarkU, kMarkV};
  const RgbImage rgb = ToRgb(ViewStreamFrame(g, sample.data()), PixelRect{0, 0, 2, 1});
  return {rgb.at(0, 0)[0], rgb.at(0, 0)[1], rgb.at(0, 0)[2]};
}

void Swatch(RgbImage& dst, int left, int top) {
  const std::array<std::uint8_t, 3> colour = MarkColour();
  for (int y = top; y < std::min(top + kSwatchSize, dst.height); ++y) {
    for (int x = left; x < std::min(left + kSwatchSize, dst.width); ++x) {
      std::memcpy(dst.at(x, y), colour.data(), 3);
    }
  }
}

}  // namespace

RgbImage ComposeComparison(const StreamFrameView& input, const StreamFrameView& output,
                           const StreamFrameView& debug, std::int64_t frame_number,
                           const ComparisonLayout& layout) {
  const PixelRect crop =
      FindMostCorrectedArea(input, output, layout.crop_width, layout.crop_height);
  const FrameGeometry& g = input.geometry;
  std::vector<std::string> heading = {
      "FRAME " + std::to_string(frame_number) + ", CROP " + std::to_string(crop.width) + "X" +
      std::to_string(crop.height) + " AT X " + std::to_string(crop.x) + ", Y " +
      std::to_string(crop.y) + " OF " + std::to_string(g.width) + "X" +
      std::to_string(g.height) + ", ZOOM " + std::to_string(layout.zoom) + "X"};
  if (!ChromaDiffers(input, output)) {
    heading.push_back("NOTHING WAS CORRECTED IN THIS FRAME: THE CROP IS ITS CENTRE");
  }
  const std::string legend = "MARKED FOR CORRECTION: CHROMA PAINTED U " +
                             std::to_string(kMarkU) + ", V " + std::to_string(kMarkV);

  const int panel_w = crop.width * layout.zoom, panel_h = crop.height * layout.zoom;
  int width = std::max(3 * panel_w + 2 * layout.separator, kSwatchSize + TextWidth(legend));
  for (const std::string& line : heading) width = std::max(width, TextWidth(line));
  const int panels_top = int(heading.size() + 1) * kCaptionHeight;
  RgbImage picture(width, panels_top + panel_h + kCaptionHeight);
  std::fill(picture.pixels.begin(), picture.pixels.end(), kBackdrop);

  for (std::size_t i = 0; i < heading.size(); ++i) {
    Caption(picture, heading[i], 0, int(i) * kCaptionHeight);
  }
  const StreamFrameView* frames[] = {&input, &output, &debug};
  constexpr std::string_view kCaptions[] = {"INPUT", "OUTPUT", "MASK"};
  for (int i = 0; i < 3; ++i) {
    const int left = i * (panel_w + layout.separator);
    PasteEnlarged(ToRgb(*frames[i], crop), layout.zoom, picture, left, panels_top);
    Caption(picture, kCaptions[i], left, panels_top - kCaptionHeight);
  }
  const int legend_top = panels_top + panel_h;
  Swatch(picture, kTextMargin, legend_top + kTextMargin);
  Caption(picture, legend, kSwatchSize + kTextMargin, legend_top);
  return picture;
}

}  // namespace velmire::cli
