#include "lab/clips/photo_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <vector>

#include "lab/clips/tool_names.h"
#include "lab/clips/procedural_texture.h"

namespace velmire::lab {
namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr int kAcross = 4;  // samples per pixel across

enum class Front { kBrick, kShop, kStone, kBoards };

struct Facade {
  float left, right, roof;
  Front kind;
  std::uint32_t seed;
};

struct Tree {
  float cx, cy, rx, ry;
  std::uint32_t seed;
};

const Rgb kPaint{0.90f, 0.89f, 0.86f};

// The street: a repeating row of house fronts with trees before the stone and board houses.
class Street {
 public:
  Street(int width, int height) : h_(float(height)) {
    constexpr Front kKinds[] = {Front::kBrick, Front::kShop, Front::kStone, Front::kBoards};
    constexpr float kWidths[] = {230.0f, 250.0f, 210.0f, 220.0f};
    constexpr float kRoofs[] = {0.12f, 0.17f, 0.10f, 0.15f};
    float left = 0.0f;
    for (std::uint32_t i = 0; left < float(width); ++i) {
      const std::size_t k = i % 4;
      facades.push_back({left, left + kWidths[k], kRoofs[k] * h_, kKinds[k], 100 + i});
      if (kKinds[k] == Front::kStone || kKinds[k] == Front::kBoards) {
        const float rx = 64.0f + 14.0f * Random(int(i), 0, 5);
        trees.push_back({left + 0.5f * kWidths[k], 0.32f * h_, rx, 0.15f * h_, 200 + i});
      }
      left += kWidths[k];
    }
  }

  Rgb Sample(float x, float y) const {
    for (const Tree& t : trees) {
      Rgb c;
      if (TreeAt(t, x, y, c)) return c;
    }
    if (y >= 0.70f * h_) return Ground(x, y);
    const Facade& f = FacadeAt(x);
    if (y < f.roof) return Sky(x, y);
    const bool garden = f.kind == Front::kStone || f.kind == Front::kBoards;
    if (garden && y >= 0.60f * h_) return Fence(f, x, y);
    const float u = x - f.left, v = y - f.roof;
    if (f.kind == Front::kShop) return Shop(f, u, y);
    Rgb window;
    if (WindowAt(f, u, y, window)) return window;
    if (f.kind == Front::kBrick) return Brick(u, v, f.seed);
    if (f.kind == Front::kStone) return Stone(u, v, f.seed);
    return Boards(u, v, f.seed);
  }

  // The shop signs' lettering, drawn over the sampled scene: calls text(words, left, top,
  // scale) in pixels.
  template <typename Text>
  void Lettering(Text&& text) const {
    for (const Facade& f : facades) {
      if (f.kind != Front::kShop) continue;
      const int left = int(f.left) + 30, top = int(0.22f * h_) + 5;
      text(std::string_view("BAKERY"), left, top, 2);
      text(std::string_view("FRESH BREAD - OPEN 7 DAYS"), left, top + 2 * kGlyphHeight + 4, 1);
    }
  }

  std::vector<Facade> facades;
  std::vector<Tree> trees;

 private:
  const Facade& FacadeAt(float x) const {
    for (const Facade& f : facades) {
      if (x < f.right) return f;
    }
    return facades.back();
  }

  Rgb Sky(float x, float y) const {
    const Rgb blue = Mix({0.34f, 0.50f, 0.80f}, {0.70f, 0.78f, 0.88f},
                         std::clamp(y / (0.2f * h_), 0.0f, 1.0f));
    const float cloud = SmoothStep(0.02f, 0.25f, Fractal(x, 1.8f * y, 80.0f, 4, 11));
    return Mix(blue, {0.92f, 0.92f, 0.94f}, 0.85f * cloud);
  }

  bool TreeAt(const Tree& t, float x, float y, Rgb& out) const {
    const float dx = (x - t.cx) / t.rx, dy = (y - t.cy) / t.ry;
    if (std::fabs(dx) > 1.6f || dy < -1.6f) return false;
    const float d2 = dx * dx + dy * dy;
    if (d2 < 1.0f + 0.9f * Fractal(x, y, 12.0f, 3, t.seed)) {
      // Leaves: bright and dark specks down to a pixel and a half, lit from the upper left.
      const float leaf = std::clamp(0.5f + 1.6f * Fractal(x, y, 6.0f, 3, t.seed + 7), 0.0f, 1.0f);
      const float light = std::clamp(0.8f - 0.35f * (dx + dy), 0.4f, 1.2f);
      out = Scale(Mix({0.06f, 0.16f, 0.04f}, {0.42f, 0.62f, 0.22f}, leaf), light);
      return true;
    }
    if (std::fabs(x - t.cx) < 6.0f && dy > 0.5f && y < 0.71f * h_) {
      const float bark = 0.8f + 0.5f * Fractal(x, 0.25f * y, 2.0f, 2, t.seed + 9);
      out = Scale({0.32f, 0.24f, 0.16f}, bark * (0.8f + 0.03f * (x - t.cx)));
      return true;
    }
    return false;
  }

  Rgb Ground(float x, float y) const {
    if (y < 0.84f * h_) {  // paving slabs
      const float v = y - 0.70f * h_;
      const int row = int(v / 14.0f);
      const float shifted = x + (row % 2 ? 20.0f : 0.0f);
      const int col = int(std::floor(shifted / 40.0f));
      if (v - 14.0f * float(row) < 1.5f || shifted - 40.0f * float(col) < 1.5f) {
        return {0.28f, 0.27f, 0.25f};
      }
      const float tone = 0.9f + 0.2f * Random(col, row, 31) + 0.35f * Fractal(x, y, 1.6f, 2, 32);
      return Scale({0.60f, 0.58f, 0.55f}, tone);
    }
    if (y < 0.865f * h_) return Scale({0.78f, 0.77f, 0.73f}, 1.0f + 0.2f * Fractal(x, y, 3.0f, 2, 33));
    const bool dash = y >= 0.93f * h_ && y < 0.945f * h_ && std::fmod(x, 120.0f) < 60.0f;
    const float grain = 1.0f + 0.45f * Fractal(x, y, 2.2f, 2, 34);
    return Scale(dash ? Rgb{0.90f, 0.90f, 0.88f} : Rgb{0.30f, 0.30f, 0.31f}, grain);
  }

  // White pickets and rails before a hedge.
  Rgb Fence(const Facade& f, float x, float y) const {
    const float u = std::fmod(x - f.left, 11.0f);
    const float top = 0.60f * h_ + 2.0f + std::fabs(u - 5.5f);
    const bool picket = u >= 3.0f && u < 8.0f && y >= top;
    const float r1 = 0.635f * h_, r2 = 0.675f * h_;
    const bool rail = (y >= r1 && y < r1 + 3.0f) || (y >= r2 && y < r2 + 3.0f);
    if (picket || rail) return Scale(kPaint, 0.93f + 0.2f * Fractal(x, y, 3.0f, 2, f.seed));
    const float leaf = std::clamp(0.5f + 1.4f * Fractal(x, y, 4.0f, 3, f.seed + 1), 0.0f, 1.0f);
    return Mix({0.08f, 0.20f, 0.06f}, {0.30f, 0.50f, 0.18f}, leaf);
  }

  bool WindowAt(const Facade& f, float u, float y, Rgb& out) const {
    constexpr float kWidth = 46.0f, kStep = 92.0f, kFrame = 4.0f;
    const float height = 0.13f * h_, step = 0.20f * h_;
    const int col = int(std::floor((u - 26.0f) / kStep));
    const float wx = u - 26.0f - kStep * float(col);
    const float top0 = f.roof + 0.07f * h_;
    const int row = int(std::floor((y - top0) / step));
    const float wy = y - top0 - step * float(row);
    const float right = 26.0f + kStep * float(col) + kWidth;
    if (col < 0 || row < 0 || wx >= kWidth || wy >= height || f.left + right > f.right - 20.0f ||
        top0 + step * float(row) + height > 0.58f * h_) {
      return false;
    }
    const bool frame = wx < kFrame || wx >= kWidth - kFrame || wy < kFrame ||
                       wy >= height - kFrame || std::fabs(wx - 0.5f * kWidth) < 1.5f ||
                       std::fabs(wy - 0.45f * height) < 1.5f;
    if (frame) {
      out = Scale(kPaint, 0.95f + 0.1f * Fractal(u, y, 2.0f, 1, f.seed));
      return true;
    }
    switch (int(3.0f * Random(col, row, f.seed))) {
      case 0: {  // vertical blinds
        const float slat = 0.55f + 0.25f * std::sin(kTwoPi * wx / 4.2f);
        out = Scale({0.85f, 0.78f, 0.62f}, slat);
        break;
      }
      case 1: {  // lace curtain: a fine mesh before a dark room
        const float m = 0.5f + 0.5f * std::sin(kTwoPi * wx / 3.2f) * std::sin(kTwoPi * wy / 3.2f);
        out = Mix({0.12f, 0.14f, 0.18f}, {0.92f, 0.92f, 0.90f}, 0.25f + 0.55f * m * m);
        break;
      }
      default:  // dark glass with the sky in it
        out = Mix({0.10f, 0.13f, 0.20f}, {0.45f, 0.52f, 0.62f},
                  std::clamp(0.6f * (1.0f - wy / height) + 0.3f * Fractal(u, y, 25.0f, 2, 3),
                             0.0f, 1.0f));
    }
    return true;
  }

  static Rgb Brick(float u, float v, std::uint32_t seed) {
    const int row = int(v / 6.0f);
    const float shifted = u + (row % 2 ? 8.0f : 0.0f);
    const int col = int(std::floor(shifted / 16.0f));
    const float grain = Fractal(u, v, 3.0f, 2, seed);
    if (v - 6.0f * float(row) < 1.5f || shifted - 16.0f * float(col) < 1.5f) {
      return Scale({0.72f, 0.68f, 0.60f}, 0.9f + 0.3f * grain);
    }
    return Scale({0.55f, 0.24f, 0.16f}, 0.75f + 0.5f * Random(col, row, seed) + 0.4f * grain);
  }

  static Rgb Stone(float u, float v, std::uint32_t seed) {
    const int row = int(v / 16.0f);
    const float shifted = u + (row % 2 ? 17.0f : 0.0f);
    const int col = int(std::floor(shifted / 34.0f));
    if (v - 16.0f * float(row) < 2.0f || shifted - 34.0f * float(col) < 2.0f) {
      return {0.35f, 0.33f, 0.30f};
    }
    const float tone = 0.85f + 0.3f * Random(col, row, seed) + 0.6f * Fractal(u, v, 4.0f, 3, seed);
    return Scale({0.66f, 0.62f, 0.55f}, tone);
  }

  // Painted weatherboards: a shadow under each board, long streaks of grain.
  static Rgb Boards(float u, float v, std::uint32_t seed) {
    const float in_board = std::fmod(v, 9.0f);
    const float shade = in_board < 1.5f ? 0.55f : 0.92f + 0.04f * in_board / 9.0f;
    return Scale({0.55f, 0.68f, 0.78f}, shade * (1.0f + 0.3f * Fractal(0.1f * u, v, 2.0f, 2, seed)));
  }

  // Plaster, a sign board, a striped awning and a window of bookshelves.
  Rgb Shop(const Facade& f, float u, float y) const {
    const float width = f.right - f.left;
    const bool inside = u >= 18.0f && u < width - 18.0f;
    if (inside && y >= 0.22f * h_ && y < 0.30f * h_) return {0.10f, 0.30f, 0.20f};
    const float awning_bottom = 0.45f * h_ + 3.0f * std::fabs(std::sin(kTwoPi * u / 28.0f));
    if (inside && y >= 0.35f * h_ && y < awning_bottom) {
      const Rgb stripe = int(u / 7.0f) % 2 ? Rgb{0.93f, 0.90f, 0.82f} : Rgb{0.72f, 0.12f, 0.12f};
      const float weave = 0.92f + 0.08f * std::sin(kTwoPi * u / 2.4f) * std::sin(kTwoPi * y / 2.4f);
      return Scale(stripe, weave * (0.8f + 0.2f * (y - 0.35f * h_) / (0.1f * h_)));
    }
    if (inside && y >= 0.47f * h_ && y < 0.68f * h_) return Books(u - 18.0f, y - 0.47f * h_, f.seed);
    return Scale({0.85f, 0.74f, 0.55f}, 0.95f + 0.1f * Fractal(u, y, 30.0f, 3, f.seed));
  }

  Rgb Books(float u, float w, std::uint32_t seed) const {
    static constexpr Rgb kCovers[] = {{0.65f, 0.10f, 0.10f}, {0.12f, 0.16f, 0.45f},
                                      {0.10f, 0.40f, 0.18f}, {0.80f, 0.60f, 0.15f},
                                      {0.90f, 0.86f, 0.74f}, {0.08f, 0.08f, 0.08f},
                                      {0.10f, 0.45f, 0.50f}};
    const float shelf = 0.07f * h_;
    const int row = int(w / shelf);
    const float s = w - shelf * float(row);
    if (s > shelf - 4.0f) return {0.55f, 0.38f, 0.22f};
    const int book = int(u / 6.0f);
    if (u - 6.0f * float(book) < 1.0f) return {0.05f, 0.05f, 0.06f};
    const float top = shelf * (0.15f + 0.3f * Random(book, row, seed));
    if (s < top) return {0.12f, 0.10f, 0.08f};
    const Rgb cover = kCovers[int(7.0f * Random(book, row, seed + 1))];
    const float label_top = top + 0.35f * (shelf - top);
    if (Random(book, row, seed + 2) < 0.5f && s >= label_top && s < label_top + 4.0f) {
      return {0.88f, 0.78f, 0.45f};
    }
    return Scale(cover, 0.85f + 0.3f * Fractal(u, w, 2.0f, 1, seed));
  }

  float h_;
};

}  // namespace

PhotoScene::PhotoScene(int width, int height, int threads)
    : width_(width),
      height_(height),
      y_(std::size_t(width) * kAcross * std::size_t(height)),
      u_(y_.size()),
      v_(y_.size()) {
  const Street street(width, height);
  const std::size_t stride = std::size_t(width) * kAcross;
  // Every line depends on its position alone, so lines are sampled on several threads.
  FrameStages stages;
  stages.frame_exists = [&](std::int64_t line) { return line < height; };
  stages.produce = [&](std::int64_t line) {
    const std::size_t row = std::size_t(line) * stride;
    for (std::size_t q = 0; q < stride; ++q) {
      const float x = (float(q) + 0.5f) / kAcross;
      const YuvSample a = ToYuv(street.Sample(x, float(line) + 0.25f));
      const YuvSample b = ToYuv(street.Sample(x, float(line) + 0.75f));
      y_[row + q] = 0.5f * (a.y + b.y);
      u_[row + q] = 0.5f * (a.u + b.u);
      v_[row + q] = 0.5f * (a.v + b.v);
    }
    return Y4mFrame{};
  };
  stages.consume = [](std::int64_t, const Y4mFrame&) {};
  RunFramePipeline(threads, stages);
  const YuvSample ink = ToYuv({0.95f, 0.90f, 0.70f});
  street.Lettering([&](std::string_view words, int left, int top, int scale) {
    DrawText(words, left, top, scale, [&](int x, int y) {
      if (x < 0 || y < 0 || x >= width || y >= height) return;
      for (int q = 0; q < kAcross; ++q) {
        const std::size_t at = std::size_t(y) * stride + std::size_t(x * kAcross + q);
        y_[at] = ink.y;
        u_[at] = ink.u;
        v_[at] = ink.v;
      }
    });
  });
}

void PhotoScene::RenderLine(int line, int offset_quarters, int out_width, float* y, float* u,
                            float* v) const {
  const std::size_t start = std::size_t(line) * std::size_t(width_) * kAcross +
                            std::size_t(offset_quarters);
  constexpr float kMean = 1.0f / kAcross;
  for (int x = 0; x < out_width; ++x) {
    const std::size_t at = start + std::size_t(x) * kAcross;
    float sy = 0.0f, su = 0.0f, sv = 0.0f;
    for (std::size_t q = 0; q < kAcross; ++q) {
      sy += y_[at + q];
      su += u_[at + q];
      sv += v_[at + q];
    }
    y[x] = kMean * sy;
    u[x] = kMean * su;
    v[x] = kMean * sv;
  }
}

YuvImage PhotoScene::Render(int out_width, int offset_quarters) const {
  YuvImage img(out_width, height_);
  for (int line = 0; line < height_; ++line) {
    RenderLine(line, offset_quarters, out_width, img.y.row(line), img.u.row(line),
               img.v.row(line));
  }
  return img;
}

}  // namespace velmire::lab
