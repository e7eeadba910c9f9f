// Whole frames through the filter object built with each vector kernel set against the same
// filter built with the portable set: every output byte must agree, for YUY2, YV12 and I420
// frames of awkward widths, several settings, random and striped content. Frames are stored
// with alignment 1, so their rows are packed and a read past the last row leaves the buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/script_environment.h"
#include "plugin/filter.h"
#include "core/kernel_table.h"
#include "support/test_clips.h"
#include "vector_sets.h"

namespace velmire::test {
namespace {

#if defined(VELMIRE_SIMD)  // x86 (SSE2 and up) or 64-bit ARM (NEON)
TEST(VectorKernelSets, ABuildWithVectorKernelsOffersThem) {
  ASSERT_FALSE(VectorKernelSets().empty());
  EXPECT_NE(&BestKernels(), &PortableKernels());
#if defined(__aarch64__)
  EXPECT_EQ(KernelSetName(BestKernels()), "neon");
  EXPECT_NE(FindKernels("neon"), nullptr);
#endif
}
#endif

// Steep ramps of period 6 that move with the frame, over chroma that alternates from row to
// row: many marks, and candidates that match well.
uint8_t StripedPixel(int frame, int plane, int x, int y) {
  static constexpr uint8_t kRamp[6] = {20, 80, 140, 200, 140, 80};
  if (plane == PLANAR_Y) return kRamp[(x + frame + y / 3) % 6];
  return static_cast<uint8_t>(((y + frame) % 2 == 0 ? 88 : 168) + (x * 7 + plane) % 5);
}

struct FrameCase {
  int pixelType;
  int width, height;
};

const FrameCase kFrames[] = {
    {VideoInfo::CS_YUY2, 64, 12}, {VideoInfo::CS_YUY2, 66, 9},  {VideoInfo::CS_YUY2, 70, 8},
    {VideoInfo::CS_YUY2, 92, 7},  {VideoInfo::CS_YUY2, 718, 6}, {VideoInfo::CS_YV12, 64, 12},
    {VideoInfo::CS_YV12, 66, 10}, {VideoInfo::CS_YV12, 70, 8},  {VideoInfo::CS_YV12, 78, 6},
    {VideoInfo::CS_I420, 722, 8}, {VideoInfo::CS_YV12, 18, 6},  {VideoInfo::CS_YUY2, 18, 6},
};

const FilterSettings kSettings[] = {
    {30, 60, 1, false},  {0, 255, 4, false},  {0, 0, 2, false}, {1, 254, 0, false},
    {10, 128, 3, false}, {255, 60, 1, false}, {0, 60, 4, true}, {30, 60, 1, true},
};

std::vector<uint8_t> AllPlanes(const PVideoFrame& frame) {
  std::vector<uint8_t> bytes = velmire::testing::PlaneBytes(frame, PLANAR_Y);
  if (frame->GetPitch(PLANAR_U) == 0) return bytes;
  for (int plane : {PLANAR_U, PLANAR_V}) {
    const std::vector<uint8_t> more = velmire::testing::PlaneBytes(frame, plane);
    bytes.insert(bytes.end(), more.begin(), more.end());
  }
  return bytes;
}

std::vector<uint8_t> FilteredFrame(const PClip& clip, const FilterSettings& s,
                                   const KernelSet& kernels, int n, host::ScriptEnvironment& env) {
  const PClip filter(
      new CrossColorFilter(clip, s.ThresholdY, s.Noise, s.Margin, s.Debug, &env, kernels));
  return AllPlanes(filter->GetFrame(n, &env));
}

TEST(WholeFrameChecker, EveryVectorSetGivesThePortableFrames) {
  host::ScriptEnvironment env;
  const velmire::testing::PixelFill fills[] = {velmire::testing::RandomFill(41), StripedPixel};
  for (const FrameCase& f : kFrames) {
    for (size_t fill = 0; fill < std::size(fills); ++fill) {
      const VideoInfo vi = velmire::testing::MakeVideoInfo(f.pixelType, f.width, f.height, 3);
      const PClip clip = velmire::testing::MakeClip(env, vi, fills[fill], /*align=*/1);
      for (const FilterSettings& s : kSettings) {
        for (int n = 0; n < 3; ++n) {
          const std::vector<uint8_t> expected = FilteredFrame(clip, s, PortableKernels(), n, env);
          for (const KernelSet* set : VectorKernelSets()) {
            ASSERT_EQ(FilteredFrame(clip, s, *set, n, env), expected)
                << set->name << ", " << f.width << "x" << f.height << " type " << f.pixelType
                << ", fill " << fill << ", frame " << n << ", ThresholdY " << s.ThresholdY
                << ", Noise " << s.Noise << ", Margin " << s.Margin << ", Debug " << s.Debug;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace velmire::test
