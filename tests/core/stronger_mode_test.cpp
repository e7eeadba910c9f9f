// The stronger mode on the cases it is built for: a still picture whose cross-colour turns with
// the subcarrier's phase, as in NTSC (frames n-1 and n+1 opposite to frame n) and in PAL (a
// quarter turn a frame: n-1 and n+1 opposite to each other, n-2 and n+2 to frame n), on detail
// and on flat luma alike; and cuts, where nothing may be carried over from the other shot.
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

// kPalStill's frames carry offsets besides their cross-colour (noise, say): +4 in n-1 and n+1,
// -8 in n-2 and n+2, which the five frames' weights 1-2-2-2-1 cancel and the average of n-1 and
// n+1 keeps; kPalOuterCut is PAL with another shot from frame n+2 on; kCut another shot from
// frame n+1 on.
enum class Sequence { kNtscStill, kPalStill, kPalOuterCut, kCut };

// Frames n-2 .. n+2: steep luma ramps in the left 40 columns, flat luma right of them; chroma
// with the sequence's cross-colour on top of the true chroma; after a cut other luma and colour.
std::vector<Frame> ClipOf(Sequence sequence, Layout layout, int bits) {
  const int shift = bits - 8;
  const int bytes = bits > 8 ? 2 : 1;
  const int chromaHeight = layout == Layout::kPlanar420 ? kHeight / 2 : kHeight;
  std::vector<Frame> frames;
  for (int r = -2; r <= 2; ++r) {  // frame n + r
    Frame f{Plane(kWidth, kHeight, bytes, 0), Plane(kWidth / 2, chromaHeight, bytes, 0),
            Plane(kWidth / 2, chromaHeight, bytes, 0)};
    const bool otherShot = (sequence == Sequence::kCut && r >= 1) ||
                           (sequence == Sequence::kPalOuterCut && r == 2);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int luma = x < 40 ? (x % 4) * 80 : 128;
        f.y.Set(x, y, (otherShot ? 255 - luma : luma) << shift);
      }
    }
    const bool pal = sequence == Sequence::kPalStill || sequence == Sequence::kPalOuterCut;
    for (int y = 0; y < chromaHeight; ++y) {
      for (int x = 0; x < kWidth / 2; ++x) {
        int u = CrossColour(x, y), v = -CrossColour(x, y);
        if (!pal && r % 2 != 0) u = -u, v = -v;
        if (pal && r % 2 == 0 && r != 0) {
          const int offset = sequence == Sequence::kPalStill ? -8 : 0;
          u = -u + offset, v = -v + offset;
        }
        if (pal && r % 2 != 0) {
          const int offset = sequence == Sequence::kPalStill ? 4 : 0;
          u = (r < 0 ? 1 : -1) * QuarterTurned(x, y) + offset;
          v = (r < 0 ? -1 : 1) * QuarterTurned(x + 1, y) + offset;
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
  // Whether the true chroma comes back everywhere, given frames n-2 .. n+2 or n-1 .. n+1 alone.
  struct Case {
    Sequence sequence;
    bool exactWithFive;
    bool exactWithThree;
  };
  const Case cases[] = {{Sequence::kNtscStill, true, true},
                        {Sequence::kPalStill, true, false},
                        {Sequence::kPalOuterCut, true, true},
                        {Sequence::kCut, false, false}};
  for (const SampleFormat& format : formats) {
    SCOPED_TRACE(format.bitsPerSample);
    const int shift = format.bitsPerSample - 8;
    const int firstRow = format.layout == Layout::kPlanar420 ? 1 : 2;
    for (const Case& c : cases) {
      SCOPED_TRACE(static_cast<int>(c.sequence));
      const auto five = ClipOf(c.sequence, format.layout, format.bitsPerSample);
      const std::vector<Frame> three(five.begin() + 1, five.end() - 1);
      const Frame& current = five[2];
      for (const KernelSet* kernels : AvailableKernels()) {
        const Settings stronger = Settings::Clamped(30, 60, 1, false, 1);
        const Frame modeZero =
            Filtered(three, format, Settings::Clamped(30, 60, 1, false, 0), *kernels);
        for (const bool withFive : {true, false}) {
          SCOPED_TRACE(withFive);
          const Frame output = Filtered(withFive ? five : three, format, stronger, *kernels);
          if (c.sequence == Sequence::kCut) {
            // The row shows another shot: even the flat block whose luma matches keeps what
            // the block search gave it.
            EXPECT_EQ(Measure(modeZero, output, shift, firstRow).changed[1], 0);
            continue;
          }
          // Every sample on detail and away from it holds the true chroma again, or not.
          const Recovery r = Measure(current, output, shift, firstRow);
          for (const int half : {0, 1}) {
            EXPECT_EQ(r.exact[half] == r.samples[half], withFive ? c.exactWithFive
                                                                 : c.exactWithThree)
                << "half " << half;
          }
        }
        const Recovery zero = Measure(current, modeZero, shift, firstRow);
        EXPECT_LT(zero.exact[0], zero.samples[0] / 2);
      }
    }
  }
}

}  // namespace
}  // namespace velmire::testing
