#include "lab/clips/demo_scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

#include "lab/clips/tool_names.h"

namespace velmire::lab {
namespace {

constexpr float kBackgroundY = 50.0f;
constexpr float kPi = std::numbers::pi_v<float>;

struct Colour {
  float y, u, v;
};

// Studio-range BT.601 colour of an RGB triple with components 0..1.
Colour FromRgb(float r, float g, float b) {
  return {16.0f + 65.481f * r + 128.553f * g + 24.966f * b,
          -37.797f * r - 74.203f * g + 112.0f * b, 112.0f * r - 93.786f * g - 18.214f * b};
}

void Put(YuvImage& img, int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= img.y.width || y >= img.y.height) return;
  img.y.at(x, y) = c.y;
  img.u.at(x, y) = c.u;
  img.v.at(x, y) = c.v;
}

void FillRect(YuvImage& img, int x0, int y0, int x1, int y1, Colour c) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) Put(img, x, y, c);
  }
}

// Columns of vertical sine stripes, one period per column. The periods straddle the colour
// subcarrier's (about 3.8 pixels): the finest lie above the chroma band and make little false
// colour, the others inside it and make much. The last column lies on an orange ground, so
// real colour sits under the detail.
void DrawStripes(YuvImage& img, int top, int bottom) {
  constexpr float kPeriods[] = {2.5f, 3.0f, 3.3f, 5.0f, 6.0f, 5.5f};
  constexpr int kColumns = 6;
  const int width = img.y.width;
  const Colour orange = FromRgb(0.75f, 0.45f, 0.1f);
  for (int c = 0; c < kColumns; ++c) {
    const Colour ground = c == kColumns - 1 ? orange : Colour{126.0f, 0.0f, 0.0f};
    const int x0 = c * width / kColumns + 4, x1 = (c + 1) * width / kColumns - 4;
    for (int y = top; y < bottom; ++y) {
      for (int x = x0; x < x1; ++x) {
        const float ripple = 70.0f * std::sin(2.0f * kPi * float(x) / kPeriods[c]);
        Put(img, x, y, {ground.y + ripple, ground.u, ground.v});
      }
    }
  }
}

// A circular zone plate whose frequency rises from the centre outwards to about 0.45 cycles
// per pixel at the rim.
void DrawZonePlate(YuvImage& img, int cx, int cy, int radius) {
  const float k = 0.45f / float(radius);
  for (int y = cy - radius; y < cy + radius; ++y) {
    for (int x = cx - radius; x < cx + radius; ++x) {
      const float dx = float(x - cx), dy = float(y - cy);
      const float r2 = dx * dx + dy * dy;
      if (r2 > float(radius) * float(radius)) continue;
      Put(img, x, y, {126.0f + 80.0f * std::cos(kPi * k * r2), 0.0f, 0.0f});
    }
  }
}

// A tile of fine diagonal stripes on a blue ground.
void DrawStripedTile(YuvImage& img, int left, int top, int size) {
  const Colour blue = FromRgb(0.2f, 0.3f, 0.7f);
  for (int y = top; y < top + size; ++y) {
    for (int x = left; x < left + size; ++x) {
      const float ripple = 60.0f * std::sin(2.0f * kPi * float(x + y) / 5.0f);
      Put(img, x, y, {blue.y + ripple, blue.u, blue.v});
    }
  }
}

void DrawColourPatches(YuvImage& img, int left, int top, int right, int bottom) {
  const Colour colours[] = {FromRgb(0.75f, 0.0f, 0.0f),  FromRgb(0.0f, 0.75f, 0.0f),
                            FromRgb(0.0f, 0.0f, 0.75f),  FromRgb(0.75f, 0.75f, 0.0f),
                            FromRgb(0.0f, 0.75f, 0.75f), FromRgb(0.75f, 0.0f, 0.75f)};
  const int w = (right - left) / 3, h = (bottom - top) / 2;
  for (int i = 0; i < 6; ++i) {
    const int x = left + (i % 3) * w, y = top + (i / 3) * h;
    FillRect(img, x + 3, y + 3, x + w - 3, y + h - 3, colours[i]);
  }
}

// Lines of white text on a black band; some stand still, some scroll left. The smallest
// lines have strokes one pixel wide.
void DrawTextBand(YuvImage& img, int top, int bottom, int t) {
  FillRect(img, 0, top, img.y.width, bottom, Colour{16.0f, 0.0f, 0.0f});
  auto plot = [&](int x, int y) {
    if (y < bottom) Put(img, x, y, {235.0f, 0.0f, 0.0f});
  };
  struct Line {
    std::string_view text;
    int scale;
    int speed;  // pixels per frame
  };
  constexpr Line kLines[] = {
      {"CROSS-COLOUR DEMO", 3, 0},
      {"FINE DETAIL: 0123456789 / STRIPES, ZONE PLATE, TEXT", 2, 0},
      {"THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG. 0123456789", 1, 0},
      {"PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS! 9876543210", 1, 1},
      {"SPHINX OF BLACK QUARTZ, JUDGE MY VOW: 1234567890", 1, 2},
  };
  const int width = img.y.width;
  int y = top + 4;
  for (const Line& line : kLines) {
    const int text_width = int(line.text.size()) * kGlyphAdvance * line.scale;
    const int x = width / 16 - (line.speed * t) % (text_width + width / 16);
    DrawText(line.text, x, y, line.scale, plot);
    y += (kGlyphHeight + 3) * line.scale + 2;
  }
}

// Goes from 0 up to `half_period` and back down in 2 * half_period steps.
int Triangle(int t, int half_period) {
  const int phase = t % (2 * half_period);
  return phase < half_period ? phase : 2 * half_period - phase;
}

}  // namespace

YuvImage RenderDemoScene(int width, int height, int frame_index) {
  YuvImage img(width, height);
  std::fill(img.y.samples.begin(), img.y.samples.end(), kBackgroundY);
  DrawStripes(img, height * 2 / 100, height * 28 / 100);
  const int radius = std::max(4, height * 18 / 100);
  DrawZonePlate(img, width / 4, height * 50 / 100, radius);
  DrawColourPatches(img, width / 2 + 20, height * 31 / 100, width - 4, height * 70 / 100);
  // The tile slides between the zone plate and the coloured patches, two pixels a frame.
  const int tile = std::max(4, height / 8);
  const int lane_left = width / 4 + radius + 4, lane_right = width / 2 + 16;
  const int travel = std::max(1, (lane_right - lane_left - tile) / 2);
  DrawStripedTile(img, lane_left + 2 * Triangle(frame_index, travel), height * 44 / 100, tile);
  DrawTextBand(img, height * 74 / 100, height - 2, frame_index);
  return img;
}

}  // namespace velmire::lab
