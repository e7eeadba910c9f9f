// What the front-ends share: the function's signatures as each host is given them, the
// arguments' fields, the clip formats taken, and the plane copy.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/clip_format.h"
#include "core/function_arguments.h"
#include "core/plane_views.h"

namespace velmire {
namespace {

TEST(FrontEndKit, SignaturesAreTheOnesScriptsAreWrittenAgainst) {
  // The 2.5 function has no Mode; scripts and the hosts' checks depend on these bytes.
  EXPECT_STREQ(ScriptSignature<ScriptHost::kInterface25>(),
               "c[ThresholdY]i[Noise]i[Margin]i[Debug]b");
  EXPECT_STREQ(ScriptSignature<ScriptHost::kAviSynthPlus>(),
               "c[ThresholdY]i[Noise]i[Margin]i[Debug]b[Mode]i");
  EXPECT_STREQ(VapourSynthArguments(), "clip:vnode;threshold_y:int:opt;noise:int:opt;"
                                       "margin:int:opt;debug:int:opt;mode:int:opt;");
}

TEST(FrontEndKit, EachArgumentSetsItsOwnFieldAndDefaultsToTheSettingsDefault) {
  for (const FunctionArgument& argument : kFunctionArguments) {
    EXPECT_EQ(argument.Read(Settings{}), argument.range.defaultValue) << argument.scriptName;
    EXPECT_EQ(FindOption(argument.optionName), &argument);
    // Storing the maximum changes this argument alone.
    Settings changed;
    argument.Store(changed, argument.range.maximum);
    for (const FunctionArgument& other : kFunctionArguments) {
      const int expected = &other == &argument ? other.range.maximum : other.range.defaultValue;
      EXPECT_EQ(other.Read(changed), expected) << argument.scriptName << " " << other.scriptName;
    }
  }
  EXPECT_EQ(FindOption("--threshold"), nullptr);
}

TEST(FrontEndKit, TakesYuy2AndPlanar420And422Of8To16Bits) {
  struct Case {
    ClipFormatDescription clip;
    std::optional<SampleFormat> expected;
  };
  const auto planar = [](int w, int h, int bits, int bytes) {
    return ClipFormatDescription{false, true, w, h, bits, bytes};
  };
  const Case cases[] = {
      {{true, false, 1, 0, 8, 1}, SampleFormat{Layout::kYUY2, 8}},
      {planar(1, 1, 8, 1), SampleFormat{Layout::kPlanar420, 8}},
      {planar(1, 0, 8, 1), SampleFormat{Layout::kPlanar422, 8}},
      {planar(1, 1, 10, 2), SampleFormat{Layout::kPlanar420, 10}},
      {planar(1, 0, 16, 2), SampleFormat{Layout::kPlanar422, 16}},
      {planar(0, 0, 8, 1), std::nullopt},   // 4:4:4
      {planar(0, 1, 8, 1), std::nullopt},   // 4:4:0
      {planar(2, 0, 8, 1), std::nullopt},   // 4:1:1
      {planar(1, 2, 8, 1), std::nullopt},   // chroma quartered down
      {planar(1, 1, 10, 1), std::nullopt},  // deep samples in one byte
      {planar(1, 1, 8, 2), std::nullopt},   // 8-bit samples in two bytes
      {planar(1, 1, 32, 4), std::nullopt},  // float
      {planar(1, 1, 7, 1), std::nullopt},
      {{false, false, 1, 1, 8, 1}, std::nullopt},  // RGB, or YUV with alpha
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SampleFormatOf(c.clip), c.expected)
        << c.clip.subsamplingW << c.clip.subsamplingH << " " << c.clip.bitsPerSample;
  }
}

TEST(FrontEndKit, CopyPlaneCopiesTheRowsAndLeavesThePaddingAlone) {
  const std::vector<uint8_t> source = {1, 2, 3, 9, 4, 5, 6, 9};  // rows of 3, pitch 4
  std::vector<uint8_t> target(10, 0xEE);                        // pitch 5
  const WritablePlaneView copied =
      CopyPlane(PlaneView{source.data(), 4, 3, 2}, {target.data(), 5});
  EXPECT_EQ(target, (std::vector<uint8_t>{1, 2, 3, 0xEE, 0xEE, 4, 5, 6, 0xEE, 0xEE}));
  EXPECT_EQ(copied.rowSize, 3);
  EXPECT_EQ(copied.height, 2);
}

TEST(FrontEndKit, PackedFramesHaveOnePlane) {
  const uint8_t bytes[3] = {};
  const auto plane = [&](int i) { return PlaneView{&bytes[i], 1, 1, 1}; };
  const FrameView packed = ViewFrame(SampleFormat{Layout::kYUY2, 8}, plane);
  EXPECT_EQ(packed.y.data, &bytes[0]);
  EXPECT_EQ(packed.u.data, nullptr);
  const FrameView planar = ViewFrame(SampleFormat{Layout::kPlanar422, 8}, plane);
  EXPECT_EQ(planar.v.data, &bytes[2]);
}

}  // namespace
}  // namespace velmire
