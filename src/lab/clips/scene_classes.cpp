#include "lab/clips/scene_classes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

#include "lab/clips/tool_names.h"
#include "lab/clips/procedural_texture.h"

namespace velmire::lab {
namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// The pan: quarter pixels per field (1.25 pixels, 2.5 a frame). The speed decides how the
// cross-colour of the frames before and after lines up with the frame's own: at 2.5 pixels a
// frame, luma detail near either standard's subcarrier has moved by about two thirds of a
// subcarrier cycle, so neither standard is favoured.
constexpr int kPanQuartersPerField = 5;

// The van: size, start and speed in pixels (lines) per frame.
constexpr float kVanWidth = 200.0f;
constexpr float kVanStartX = 40.0f;
constexpr float kVanSpeedX = 5.0f;
constexpr float kVanSpeedY = -0.5f;

// Whether a van-local point (a across, b down, van `height` lines high) is on the van, and
// its colour there: a white body with rounded corners, lettering, a chequered band, a
// windscreen and two wheels with ribbed tyres.
bool VanAt(float a, float b, float height, Rgb& out) {
  const float wheel_y = 0.82f * height, radius = 0.18f * height;
  for (const float wheel_x : {0.2f * kVanWidth, 0.8f * kVanWidth}) {
    const float dx = a - wheel_x, dy = b - wheel_y, r = std::sqrt(dx * dx + dy * dy);
    if (r >= radius) continue;
    const float ribs = 1.0f + 0.5f * std::sin(24.0f * std::atan2(dy, dx));
    out = r > 0.6f * radius ? Scale({0.08f, 0.08f, 0.08f}, ribs) : Rgb{0.62f, 0.62f, 0.64f};
    return true;
  }
  constexpr float kCorner = 12.0f;
  const float bottom = wheel_y;
  if (a < 0.0f || a >= kVanWidth || b < 0.0f || b >= bottom) return false;
  const float cx = std::clamp(a, kCorner, kVanWidth - kCorner);
  const float cy = std::clamp(b, kCorner, bottom - kCorner);
  if ((a - cx) * (a - cx) + (b - cy) * (b - cy) > kCorner * kCorner) return false;

  if (a >= 0.80f * kVanWidth && a < 0.96f * kVanWidth && b >= 0.08f * height &&
      b < 0.40f * height) {
    out = Mix({0.10f, 0.12f, 0.18f}, {0.40f, 0.45f, 0.55f}, 1.0f - b / (0.40f * height));
    return true;
  }
  if (b >= 0.50f * height && b < 0.62f * height) {  // gingham: 2-pixel squares
    const int sx = int(std::floor(a / 2.0f)) & 1, sy = int(std::floor(b / 2.0f)) & 1;
    out = Mix({0.95f, 0.95f, 0.93f}, {0.75f, 0.10f, 0.12f}, 0.5f * float(sx + sy));
    return true;
  }
  struct Words {
    std::string_view text;
    float top;
    float scale;
  };
  for (const Words& w : {Words{"PARCELS", 0.10f * height, 2.0f},
                         Words{"NEXT DAY - 0800 123", 0.34f * height, 1.0f}}) {
    const float gx = (a - 10.0f) / w.scale, gy = (b - w.top) / w.scale;
    if (gx < 0.0f || gy < 0.0f || gy >= float(kGlyphHeight)) continue;
    const std::size_t letter = std::size_t(gx) / kGlyphAdvance;
    if (letter >= w.text.size()) continue;
    if (GlyphPixel(w.text[letter], int(gx) % kGlyphAdvance, int(gy))) {
      out = {0.10f, 0.15f, 0.45f};
      return true;
    }
  }
  out = Scale({0.93f, 0.93f, 0.90f}, 0.85f + 0.15f * b / bottom);
  return true;
}

// Draws the van with its top left corner at (left, top) on line `line` of `img`, each pixel
// covered by 2x2 samples.
void DrawVanLine(YuvImage& img, int line, float left, float top) {
  const float height = 0.22f * float(img.y.height);
  if (float(line) + 1.0f <= top || float(line) >= top + height) return;
  const int x0 = std::max(0, int(std::floor(left)));
  const int x1 = std::min(img.y.width, int(std::ceil(left + kVanWidth)) + 1);
  for (int x = x0; x < x1; ++x) {
    float sy = 0.0f, su = 0.0f, sv = 0.0f, cover = 0.0f;
    for (const float oy : {0.25f, 0.75f}) {
      for (const float ox : {0.25f, 0.75f}) {
        Rgb c;
        if (!VanAt(float(x) + ox - left, float(line) + oy - top, height, c)) continue;
        const YuvSample s = ToYuv(c);
        sy += s.y, su += s.u, sv += s.v, cover += 1.0f;
      }
    }
    if (cover == 0.0f) continue;
    const float keep = 1.0f - 0.25f * cover;
    img.y.at(x, line) = keep * img.y.at(x, line) + 0.25f * sy;
    img.u.at(x, line) = keep * img.u.at(x, line) + 0.25f * su;
    img.v.at(x, line) = keep * img.v.at(x, line) + 0.25f * sv;
  }
}

void Put(YuvImage& img, int x, int y, YuvSample s) {
  img.y.at(x, y) = s.y;
  img.u.at(x, y) = s.u;
  img.v.at(x, y) = s.v;
}

// Vertical stripes of the given luma ripple on a ground colour.
YuvSample Ripple(Rgb ground, float ripple) {
  YuvSample s = ToYuv(ground);
  s.y = std::clamp(s.y + ripple, 16.0f, 235.0f);
  return s;
}

YuvImage RenderStripeChart(int width, int height) {
  YuvImage img(width, height);
  std::fill(img.y.samples.begin(), img.y.samples.end(), 110.0f);
  const Rgb grey{0.5f, 0.5f, 0.5f};
  constexpr float kPeriods[] = {6.0f, 5.0f, 4.0f, 3.5f, 3.0f, 2.5f};
  constexpr Rgb kGrounds[] = {{0.80f, 0.45f, 0.10f}, {0.20f, 0.30f, 0.75f},
                              {0.20f, 0.60f, 0.25f}, {0.75f, 0.15f, 0.15f},
                              {0.15f, 0.60f, 0.65f}, {0.65f, 0.20f, 0.60f}};
  const auto rows = [&](float from, float to) {
    return std::pair{int(from * float(height)), int(to * float(height))};
  };
  // A sweep from 0.06 to 0.46 cycles per pixel, left to right.
  for (auto [y0, y1] = rows(0.03f, 0.20f); y0 < y1; ++y0) {
    for (int x = 0; x < width; ++x) {
      const float cycles = 0.06f * float(x) + 0.2f * float(x) * float(x) / float(width);
      Put(img, x, y0, Ripple(grey, 70.0f * std::sin(kTwoPi * cycles)));
    }
  }
  // Bursts of fixed periods, on grey and on coloured grounds.
  const int block = width / 6;
  for (int band = 0; band < 2; ++band) {
    for (auto [y0, y1] = rows(band ? 0.46f : 0.24f, band ? 0.64f : 0.42f); y0 < y1; ++y0) {
      for (int x = 0; x < 6 * block; ++x) {
        const int b = x / block;
        if (x - b * block < 4 || x - b * block >= block - 4) continue;
        const float ripple = std::sin(kTwoPi * float(x) / kPeriods[b]);
        Put(img, x, y0, band ? Ripple(kGrounds[b], 45.0f * ripple) : Ripple(grey, 70.0f * ripple));
      }
    }
  }
  // Diagonal stripes at two angles, and a zone plate reaching 0.45 cycles per pixel.
  const auto [top, bottom] = rows(0.68f, 0.97f);
  const int third = width / 3;
  const float radius = 0.5f * float(std::min(bottom - top, third - 8));
  const float cx = 2.5f * float(third), cy = 0.5f * float(top + bottom);
  for (int y = top; y < bottom; ++y) {
    for (int x = 4; x < width - 4; ++x) {
      float ripple;
      if (x < third - 4) {
        ripple = std::sin(kTwoPi * float(x + y) / 4.5f);
      } else if (x >= third + 4 && x < 2 * third - 4) {
        ripple = std::sin(kTwoPi * (float(x) - 0.5f * float(y)) / 3.6f);
      } else {
        const float dx = float(x) - cx, dy = float(y) - cy, r2 = dx * dx + dy * dy;
        if (x < 2 * third + 4 || r2 > radius * radius) continue;
        ripple = std::cos(kTwoPi * 0.225f * r2 / radius);
      }
      Put(img, x, y, Ripple(grey, 70.0f * ripple));
    }
  }
  return img;
}

}  // namespace

const char* SceneClassName(SceneClass scene) {
  switch (scene) {
    case SceneClass::kStill: return "still picture";
    case SceneClass::kPan: return "camera pan";
    case SceneClass::kMovingObject: return "moving object";
    case SceneClass::kStripes: return "still stripes";
    case SceneClass::kPhotoStill: return "still photo";
    case SceneClass::kPhotoPan: return "photo pan";
    case SceneClass::kPhotoObject: return "object over photo";
    case SceneClass::kPhotoCut: return "photo cut";
  }
  return "?";
}

bool IsStill(SceneClass scene) {
  return scene == SceneClass::kStill || scene == SceneClass::kStripes ||
         scene == SceneClass::kPhotoStill;
}

std::vector<int> JudgedFrames(SceneClass scene, int frames) {
  if (scene == SceneClass::kPhotoCut && frames >= 2) {
    const int cut = PhotoFootage::CutFrame(frames);
    return {cut - 1, cut};
  }
  std::vector<int> all(std::size_t(std::max(frames, 0)));
  for (int n = 0; n < frames; ++n) all[std::size_t(n)] = n;
  return all;
}

namespace {

PhotoMotion MotionOf(SceneClass scene) {
  switch (scene) {
    case SceneClass::kPhotoPan: return PhotoMotion::kPan;
    case SceneClass::kPhotoObject: return PhotoMotion::kObject;
    case SceneClass::kPhotoCut: return PhotoMotion::kCut;
    default: return PhotoMotion::kStill;
  }
}

bool IsPhoto(SceneClass scene) {
  return scene == SceneClass::kPhotoStill || scene == SceneClass::kPhotoPan ||
         scene == SceneClass::kPhotoObject || scene == SceneClass::kPhotoCut;
}

}  // namespace

SceneClassPictures::SceneClassPictures(SceneClass scene, VideoStandard standard, int width,
                                       int frames, int threads)
    : scene_(scene), standard_(standard), width_(width) {
  const int height = PictureLines(standard);
  if (IsPhoto(scene)) {
    footage_ = std::make_shared<const PhotoFootage>(MotionOf(scene), standard, width, frames);
    return;
  }
  if (scene == SceneClass::kStripes) {
    still_ = RenderStripeChart(width, height);
    return;
  }
  // The pan's last field starts (2 * frames - 1) * 5 quarter pixels into the scene.
  const int travel = scene == SceneClass::kPan ? (2 * frames * kPanQuartersPerField + 3) / 4 : 0;
  street_ = std::make_shared<const PhotoScene>(width + travel, height, threads);
  if (scene != SceneClass::kPan) {
    still_ = street_->Render(width, 0);
    street_.reset();
  }
}

YuvImage SceneClassPictures::Frame(int index) const {
  if (footage_) return footage_->Frame(index);
  if (scene_ != SceneClass::kPan && scene_ != SceneClass::kMovingObject) return still_;
  YuvImage img = scene_ == SceneClass::kPan ? YuvImage(width_, street_->height()) : still_;
  for (int line = 0; line < img.y.height; ++line) {
    const float t = float(index) + float(FieldTime(standard_, line));
    if (scene_ == SceneClass::kPan) {
      const int offset = int(2.0f * t) * kPanQuartersPerField;
      street_->RenderLine(line, offset, width_, img.y.row(line), img.u.row(line), img.v.row(line));
    } else {
      DrawVanLine(img, line, kVanStartX + kVanSpeedX * t,
                  0.60f * float(img.y.height) + kVanSpeedY * t);
    }
  }
  return img;
}

}  // namespace velmire::lab
