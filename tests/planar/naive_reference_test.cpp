// Whole frames against the plain model: random textured frames of many sizes (chroma widths
// of every remainder mod 4, odd and even chroma heights, too small to process), several
// settings, both Debug modes, both planar formats, tight and padded pitches, every kernel set.
#include <gtest/gtest.h>

#include <random>

#include "naive_planar_pass.h"
#include "textured_frames.h"

namespace velmire::test {
namespace {

struct Size {
  int lumaWidth, lumaHeight;
};

const Size kSizes[] = {
    {16, 8},  {18, 8},  {20, 10}, {22, 6},  {24, 12}, {34, 14}, {36, 10}, {38, 12},
    {40, 8},  {66, 18}, {35, 13}, {40, 4},  {40, 5},  {40, 6},  {42, 7},  {46, 16},
};

const FilterSettings kSettings[] = {
    {30, 60, 1, false}, {0, 255, 4, false}, {10, 20, 0, false}, {30, 0, 2, false},
    {255, 255, 1, false}, {20, 60, 2, true}, {0, 255, 0, true},
};

TEST(PlanarPassReference, RandomFramesMatchThePlainModel) {
  std::mt19937 random(20240605);
  int variant = 0;
  for (const Size& size : kSizes) {
    for (const FilterSettings& settings : kSettings) {
      const FrameTriple frames = TexturedFrames(size.lumaWidth, size.lumaHeight, random);
      const PlanarImage expected =
          NaivePlanarPass(frames.previous, frames.current, frames.next, settings);
      for (const KernelSet* kernels : AvailableKernels()) {
        RunOptions options;
        options.pixelType = variant % 2 ? VideoInfo::CS_I420 : VideoInfo::CS_YV12;
        options.align = variant % 3 == 0 ? 1 : FRAME_ALIGN;
        options.kernels = kernels;
        ++variant;
        const PlanarImage actual =
            RunPlanarFilter(frames.previous, frames.current, frames.next, settings, options);
        EXPECT_EQ(FirstDifference(actual, expected), "")
            << kernels->name << ", luma " << size.lumaWidth << "x" << size.lumaHeight
            << ", ThresholdY " << settings.ThresholdY << " Noise " << settings.Noise
            << " Margin " << settings.Margin << " Debug " << settings.Debug << ", align "
            << options.align;
      }
    }
  }
}

// The frames must give the search real work, or the comparison above proves little.
TEST(PlanarPassReference, TexturedFramesGetCorrected) {
  std::mt19937 random(99);
  const FrameTriple frames = TexturedFrames(40, 16, random);
  const FilterSettings settings{30, 60, 1, false};
  const PlanarImage out =
      RunPlanarFilter(frames.previous, frames.current, frames.next, settings);
  int changed = 0;
  for (size_t i = 0; i < out.u.size(); ++i) changed += out.u[i] != frames.current.u[i];
  EXPECT_GT(changed, static_cast<int>(out.u.size()) / 8);
}

}  // namespace
}  // namespace velmire::test
