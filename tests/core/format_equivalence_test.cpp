// The formats beyond 8-bit YUY2 and 4:2:0 are defined by those two: planar 4:2:2 gives the
// packed pass's bytes, and 9- to 16-bit video, shifted back to 8 bits, gives the 8-bit bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/core_clip.h"
#include "core/cross_color.h"

namespace velmire::testing {
namespace {

struct Variant {
  int mode;
  bool debug;
  Settings settings;
};

// Default settings, the stronger mode with wider reach, and the Debug display.
const Variant kVariants[] = {
    {0, false, Settings::Clamped(30, 60, 1, false, 0)},
    {1, false, Settings::Clamped(10, 200, 4, false, 1)},
    {0, true, Settings::Clamped(20, 60, 2, true, 0)},
};

std::vector<Frame> Map(const std::vector<Frame>& frames, auto convert) {
  std::vector<Frame> out;
  for (const Frame& f : frames) out.push_back(convert(f));
  return out;
}

// Every luma width from 48 to 78: chroma widths of every residue modulo 16.
constexpr int kFirstWidth = 48;
constexpr int kWidthCount = 16;

TEST(Planar422, GivesThePackedPassResultForEveryKernelSet) {
  int changed = 0;
  for (const KernelSet* kernels : AvailableKernels()) {
    for (int w = 0; w < kWidthCount; ++w) {
      const int width = kFirstWidth + 2 * w;
      for (const int height : {11, 12}) {
        for (const int padding : {0, 20}) {
          for (const Variant& variant : kVariants) {
            SCOPED_TRACE(std::string(KernelSetName(*kernels)) + " " + std::to_string(width) +
                         "x" + std::to_string(height) + " padding " + std::to_string(padding) +
                         " mode " + std::to_string(variant.mode) +
                         (variant.debug ? " debug" : ""));
            const auto planar =
                DetailFrames(Layout::kPlanar422, width, height, padding, width * height);
            const auto packed = Map(planar, [&](const Frame& f) { return PackedYUY2(f, padding); });
            const Frame fromPlanes =
                Filtered(planar, {Layout::kPlanar422, 8}, variant.settings, *kernels);
            const Frame fromPacked = Filtered(packed, {Layout::kYUY2, 8}, variant.settings, *kernels);
            ASSERT_TRUE(PackedYUY2(fromPlanes, 0).y.SameSamples(fromPacked.y));
            changed += !fromPlanes.u.SameSamples(planar[2].u);
          }
        }
      }
    }
  }
  EXPECT_GT(changed, 0);  // the pictures are corrected, so the comparison means something
}

TEST(DeepSamples, ShiftedBackGiveTheEightBitResultForEveryDepthAndKernelSet) {
  for (const KernelSet* kernels : AvailableKernels()) {
    for (int bits = 9; bits <= 16; ++bits) {
      for (const Layout layout : {Layout::kPlanar420, Layout::kPlanar422}) {
        // Every width at 10 and 16 bits, a few at the other depths.
        const int widths = bits == 10 || bits == 16 ? kWidthCount : 3;
        for (int w = 0; w < widths; ++w) {
          const int width = kFirstWidth + 2 * ((w * 5 + bits) % kWidthCount);
          const int padding = w % 2 == 0 ? 0 : 6;
          for (const Variant& variant : kVariants) {
            SCOPED_TRACE(std::string(KernelSetName(*kernels)) + " " + std::to_string(bits) +
                         " bits, " + (layout == Layout::kPlanar420 ? "4:2:0 " : "4:2:2 ") +
                         std::to_string(width) + " wide, mode " + std::to_string(variant.mode));
            const auto frames = DetailFrames(layout, width, 14, 0, width + bits);
            const Frame expected =
                Filtered(frames, {layout, 8}, variant.settings, PortableKernels());
            const int shift = bits - 8;
            const auto deep =
                Map(frames, [&](const Frame& f) { return Deepened(f, shift, padding); });
            const Frame result = Filtered(deep, {layout, bits}, variant.settings, *kernels);
            ASSERT_TRUE(result.y.SameSamples(deep[2].y));
            for (auto [got, want] : {std::pair{&result.u, &expected.u}, {&result.v, &expected.v}}) {
              for (int y = 0; y < want->height; ++y) {
                for (int x = 0; x < want->width; ++x) {
                  ASSERT_EQ(got->Get(x, y) >> shift, want->Get(x, y)) << x << "," << y;
                }
              }
            }
          }
        }
      }
    }
  }
}

// A broken source with samples above its depth's largest value: every read stays inside the
// planes (AddressSanitizer checks that), and every kernel set gives the same bytes.
TEST(DeepSamples, OutOfRangeValuesGiveTheSameBytesInEveryKernelSet) {
  std::mt19937 random(7);
  for (const Layout layout : {Layout::kPlanar420, Layout::kPlanar422}) {
    auto frames = Map(DetailFrames(layout, 70, 12, 0, 3),
                      [](const Frame& f) { return Deepened(f, 2, 0); });
    for (Frame& f : frames) {
      for (Plane* plane : {&f.y, &f.u, &f.v}) {
        for (int y = 0; y < plane->height; ++y) {
          for (int x = 0; x < plane->width; ++x) plane->Set(x, y, random() & 0xFFFF);
        }
      }
    }
    for (const int mode : {0, 1}) {
      const Settings settings = Settings::Clamped(0, 255, 4, false, mode);
      const Frame expected = Filtered(frames, {layout, 10}, settings, PortableKernels());
      for (const KernelSet* kernels : AvailableKernels()) {
        const Frame result = Filtered(frames, {layout, 10}, settings, *kernels);
        EXPECT_TRUE(result.u.SameSamples(expected.u) && result.v.SameSamples(expected.v))
            << KernelSetName(*kernels);
      }
    }
  }
}

}  // namespace
}  // namespace velmire::testing
