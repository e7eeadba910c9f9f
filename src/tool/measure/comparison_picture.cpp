#include "tool/measure/comparison_picture.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "tool/demo/bitmap_font.h"
#include "tool/measure/most_corrected_area.h"
#include "tool/measure/rgb_conversion.h"

namespace velmire::cli {
namespace {

constexpr int kCaptionScale = 2;
constexpr int kCaptionHeight = kGlyphHeight * kCaptionScale + 8;
constexpr std::uint8_t kBackdrop = 40;

void PasteEnlarged(const RgbImage& src, int zoom, RgbImage& dst, int left, int top) {
  for (int y = 0; y < src.height * zoom; ++y) {
    for (int x = 0; x < src.width * zoom; ++x) {
      std::memcpy(dst.at(left + x, top + y), src.at(x / zoom, y / zoom), 3);
    }
  }
}

void Caption(RgbImage& dst, std::string_view text, int left) {
  DrawText(text, left + 4, 4, kCaptionScale, [&](int x, int y) {
    if (x >= 0 && x < dst.width && y >= 0 && y < dst.height) std::memset(dst.at(x, y), 255, 3);
  });
}

}  // namespace

RgbImage ComposeComparison(const StreamFrameView& input, const StreamFrameView& output,
                           const StreamFrameView& debug, const ComparisonLayout& layout) {
  const PixelRect crop =
      FindMostCorrectedArea(input, output, layout.crop_width, layout.crop_height);
  const int panel_w = crop.width * layout.zoom, panel_h = crop.height * layout.zoom;
  RgbImage picture(3 * panel_w + 2 * layout.separator, kCaptionHeight + panel_h);
  std::fill(picture.pixels.begin(), picture.pixels.end(), kBackdrop);

  const StreamFrameView* frames[] = {&input, &output, &debug};
  constexpr std::string_view kCaptions[] = {"INPUT", "OUTPUT", "MASK"};
  for (int i = 0; i < 3; ++i) {
    const int left = i * (panel_w + layout.separator);
    PasteEnlarged(ToRgb(*frames[i], crop), layout.zoom, picture, left, kCaptionHeight);
    Caption(picture, kCaptions[i], left);
  }
  return picture;
}

}  // namespace velmire::cli
