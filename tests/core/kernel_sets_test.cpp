// Every kernel set gives the portable set's bytes through the core, in both modes and every
// format, on rows stored without padding (so a read past a row's end leaves the buffer under
// AddressSanitizer).
#include <gtest/gtest.h>

#include <string>

#include "core/core_clip.h"
#include "core/cross_color.h"

namespace velmire::testing {
namespace {

TEST(KernelSets, EveryVectorSetGivesThePortableBytesInBothModes) {
  const SampleFormat formats[] = {{Layout::kYUY2, 8},       {Layout::kPlanar420, 8},
                                  {Layout::kPlanar422, 8},  {Layout::kPlanar420, 10},
                                  {Layout::kPlanar422, 16}};
  const Settings settings[] = {Settings::Clamped(30, 60, 1, false, 1),
                               Settings::Clamped(0, 255, 4, false, 1),
                               Settings::Clamped(10, 200, 0, false, 1),
                               Settings::Clamped(20, 90, 2, false, 0)};
  for (const SampleFormat& format : formats) {
    for (int width = 40; width < 72; width += 2) {
      const Layout planarLayout =
          format.layout == Layout::kYUY2 ? Layout::kPlanar422 : format.layout;
      auto frames = DetailFrames(planarLayout, width, 12, 0, width);
      for (Frame& f : frames) {
        if (format.layout == Layout::kYUY2) f = PackedYUY2(f, 0);
        if (format.bitsPerSample > 8) f = Deepened(f, format.bitsPerSample - 8, 0);
      }
      for (const Settings& s : settings) {
        const Frame expected = Filtered(frames, format, s, PortableKernels());
        for (const KernelSet* kernels : AvailableKernels()) {
          const Frame got = Filtered(frames, format, s, *kernels);
          ASSERT_TRUE(got.y.SameSamples(expected.y) && got.u.SameSamples(expected.u) &&
                      got.v.SameSamples(expected.v))
              << KernelSetName(*kernels) << " " << width << " wide, format "
              << static_cast<int>(format.layout) << "/" << format.bitsPerSample << ", mode "
              << s.Mode << ", ThresholdY " << s.ThresholdY;
        }
      }
    }
  }
}

}  // namespace
}  // namespace velmire::testing
