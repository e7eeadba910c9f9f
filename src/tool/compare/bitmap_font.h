// A small built-in 5x7 bitmap font (upper-case letters, digits and a little punctuation) for
// drawing text into the demo clip without any font files.
#pragma once

#include <string_view>

namespace velmire::cli {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;  // glyph width plus one column of spacing

// Whether pixel (x, y) of the glyph for `c` is set; lower-case letters use the upper-case
// glyphs, characters without a glyph are blank.
bool GlyphPixel(char c, int x, int y);

// Calls plot(x, y) for every set pixel of `text` drawn at (left, top), each font pixel
// enlarged to a scale x scale square.
template <typename Plot>
void DrawText(std::string_view text, int left, int top, int scale, Plot&& plot) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int glyph_left = left + static_cast<int>(i) * kGlyphAdvance * scale;
    for (int gy = 0; gy < kGlyphHeight; ++gy) {
      for (int gx = 0; gx < kGlyphWidth; ++gx) {
        if (!GlyphPixel(text[i], gx, gy)) continue;
        for (int sy = 0; sy < scale; ++sy) {
          for (int sx = 0; sx < scale; ++sx) plot(glyph_left + gx * scale + sx, top + gy * scale + sy);
        }
      }
    }
  }
}

}  // namespace velmire::cli
