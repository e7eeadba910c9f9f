// The stronger mode on the case it is built for: a still picture whose cross-colour flips sign
// from frame to frame (NTSC's subcarrier at the same place in consecutive frames).
#include <gtest/gtest.h>

#include "core/core_clip.h"
#include "core/cross_color.h"

namespace velmire::testing {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 16;

int TrueChroma(int x, int y) { return 100 + (x * 7 + y * 3) % 50; }
int CrossColour(int x, int y) { return 10 + (x * 5 + y) % 20; }

// Three frames of one still picture of steep luma ramps; frame n carries +cross-colour, frames
// n-1 and n+1 carry -cross-colour.
std::vector<Frame> StillFlippingFrames(Layout layout, int bits) {
  const int shift = bits - 8;
  const int bytes = bits > 8 ? 2 : 1;
  const int chromaHeight = layout == Layout::kPlanar420 ? kHeight / 2 : kHeight;
  std::vector<Frame> frames;
  for (int n = 0; n < 3; ++n) {
    Frame f{Plane(kWidth, kHeight, bytes, 0), Plane(kWidth / 2, chromaHeight, bytes, 0),
            Plane(kWidth / 2, chromaHeight, bytes, 0)};
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) f.y.Set(x, y, (x % 4) * 80 << shift);
    }
    const int sign = n == 1 ? 1 : -1;
    for (int y = 0; y < chromaHeight; ++y) {
      for (int x = 0; x < kWidth / 2; ++x) {
        f.u.Set(x, y, (TrueChroma(x, y) + sign * CrossColour(x, y)) << shift);
        f.v.Set(x, y, (TrueChroma(x + 1, y) - sign * CrossColour(x, y)) << shift);
      }
    }
    frames.push_back(std::move(f));
  }
  return frames;
}

// Samples of the frame's chroma that the filter changed, and how many of them now hold the
// true chroma.
struct Recovery {
  int changed = 0;
  int exact = 0;
};

Recovery Measure(const Frame& input, const Frame& output, int shift) {
  Recovery r;
  for (int y = 0; y < output.u.height; ++y) {
    for (int x = 0; x < output.u.width; ++x) {
      for (const bool isU : {true, false}) {
        const int before = (isU ? input.u : input.v).Get(x, y);
        const int after = (isU ? output.u : output.v).Get(x, y);
        if (after == before) continue;
        ++r.changed;
        r.exact += after >> shift == (isU ? TrueChroma(x, y) : TrueChroma(x + 1, y));
      }
    }
  }
  return r;
}

TEST(StrongerMode, RestoresTheTrueChromaOfAStillPictureWhereModeZeroCannot) {
  const SampleFormat formats[] = {{Layout::kPlanar420, 8},
                                  {Layout::kPlanar422, 8},
                                  {Layout::kPlanar420, 10},
                                  {Layout::kPlanar422, 16}};
  for (const SampleFormat& format : formats) {
    SCOPED_TRACE(format.bitsPerSample);
    const auto frames = StillFlippingFrames(format.layout, format.bitsPerSample);
    const int shift = format.bitsPerSample - 8;
    for (const KernelSet* kernels : AvailableKernels()) {
      const Recovery stronger = Measure(
          frames[1], Filtered(frames, format, Settings::Clamped(30, 60, 1, false, 1), *kernels),
          shift);
      EXPECT_GT(stronger.changed, kWidth / 2);
      EXPECT_EQ(stronger.exact, stronger.changed);
      const Recovery modeZero = Measure(
          frames[1], Filtered(frames, format, Settings::Clamped(30, 60, 1, false, 0), *kernels),
          shift);
      EXPECT_LT(modeZero.exact, modeZero.changed / 2);
    }
  }
}

}  // namespace
}  // namespace velmire::testing
