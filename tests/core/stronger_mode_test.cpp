// The stronger mode on the cases it is built for: a still picture whose cross-colour turns with
// the subcarrier's phase, as in NTSC (frames n-1 and n+1 opposite to frame n) and in PAL
// (frames n-1 and n+1 opposite to each other), on detail and on flat luma alike; and a cut,
// where nothing may be carried over from the other shot.
#include <gtest/gtest.h>

#include "core/core_clip.h"
#include "core/cross_color.h"

namespace velmire::testing {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 16;

int TrueChroma(int x, int y) { return 100 + (x * 7 + y * 3) % 50; }
int CrossColour(int x, int y) { return 10 + (x * 5 + y) % 20; }
// The same cross-colour a quarter turn on: as large, in the other component's pattern.
int QuarterTurned(int x, int y) { return 10 + (x * 3 + 2 * y) % 20; }

enum class Sequence { kNtscStill, kPalStill, kCut };

// Three frames: steep luma ramps in the left 40 columns, flat luma right of them; chroma with the
// sequence's cross-colour on top of the true chroma. After a cut, frame n+1 shows other luma
// and other colour.
std::vector<Frame> ClipOf(Sequence sequence, Layout layout, int bits) {
  const int shift = bits - 8;
  const int bytes = bits > 8 ? 2 : 1;
  const int chromaHeight = layout == Layout::kPlanar420 ? kHeight / 2 : kHeight;
  std::vector<Frame> frames;
  for (int n = 0; n < 3; ++n) {
    Frame f{Plane(kWidth, kHeight, bytes, 0), Plane(kWidth / 2, chromaHeight, bytes, 0),
            Plane(kWidth / 2, chromaHeight, bytes, 0)};
    const bool otherShot = sequence == Sequence::kCut && n == 2;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int luma = x < 40 ? (x % 4) * 80 : 128;
        f.y.Set(x, y, (otherShot ? 255 - luma : luma) << shift);
      }
    }
    for (int y = 0; y < chromaHeight; ++y) {
      for (int x = 0; x < kWidth / 2; ++x) {
        int u = CrossColour(x, y), v = -CrossColour(x, y);
        if (sequence == Sequence::kNtscStill && n != 1) u = -u, v = -v;
        if (sequence == Sequence::kPalStill && n != 1) {
          u = (n == 0 ? 1 : -1) * QuarterTurned(x, y);
          v = (n == 0 ? -1 : 1) * QuarterTurned(x + 1, y);
        }
        if (otherShot) u += 60, v -= 60;
        f.u.Set(x, y, (TrueChroma(x, y) + u) << shift);
        f.v.Set(x, y, (TrueChroma(x + 1, y) + v) << shift);
      }
    }
    frames.push_back(std::move(f));
  }
  return frames;
}

// Of the chroma samples in the blocks' columns of the rows a pass may change: how many differ
// from frame n, and how many hold the true chroma; apart for the detailed and the flat part.
struct Recovery {
  int changed[2] = {0, 0};
  int exact[2] = {0, 0};
  int samples[2] = {0, 0};
};

Recovery Measure(const Frame& input, const Frame& output, int shift, int firstRow) {
  Recovery r;
  for (int y = firstRow; y < output.u.height - firstRow; ++y) {
    for (int x = 4; x < 28; ++x) {
      const int half = x < 24 ? 0 : 1;  // block 24 sees flat luma alone
      for (const bool isU : {true, false}) {
        const int before = (isU ? input.u : input.v).Get(x, y);
        const int after = (isU ? output.u : output.v).Get(x, y);
        ++r.samples[half];
        r.changed[half] += after != before;
        r.exact[half] += after >> shift == (isU ? TrueChroma(x, y) : TrueChroma(x + 1, y));
      }
    }
  }
  return r;
}

TEST(StrongerMode, CancelsStillCrossColourOfEitherStandardAndCarriesNothingOverACut) {
  const SampleFormat formats[] = {{Layout::kPlanar420, 8},
                                  {Layout::kPlanar422, 8},
                                  {Layout::kPlanar420, 10},
                                  {Layout::kPlanar422, 16}};
  for (const SampleFormat& format : formats) {
    SCOPED_TRACE(format.bitsPerSample);
    const int shift = format.bitsPerSample - 8;
    const int firstRow = format.layout == Layout::kPlanar420 ? 1 : 2;
    for (const Sequence sequence : {Sequence::kNtscStill, Sequence::kPalStill, Sequence::kCut}) {
      SCOPED_TRACE(static_cast<int>(sequence));
      const auto frames = ClipOf(sequence, format.layout, format.bitsPerSample);
      for (const KernelSet* kernels : AvailableKernels()) {
        const Frame stronger =
            Filtered(frames, format, Settings::Clamped(30, 60, 1, false, 1), *kernels);
        const Frame modeZero =
            Filtered(frames, format, Settings::Clamped(30, 60, 1, false, 0), *kernels);
        if (sequence == Sequence::kCut) {
          // The row shows another shot: even the flat block whose luma matches keeps what the
          // block search gave it.
          EXPECT_EQ(Measure(modeZero, stronger, shift, firstRow).changed[1], 0);
          continue;
        }
        // Every sample on detail and away from it holds the true chroma again.
        const Recovery r = Measure(frames[1], stronger, shift, firstRow);
        for (const int half : {0, 1}) {
          EXPECT_EQ(r.exact[half], r.samples[half]) << "half " << half;
        }
        const Recovery zero = Measure(frames[1], modeZero, shift, firstRow);
        EXPECT_LT(zero.exact[0], zero.samples[0] / 2);
      }
    }
  }
}

}  // namespace
}  // namespace velmire::testing
