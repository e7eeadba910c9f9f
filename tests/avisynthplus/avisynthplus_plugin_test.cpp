// The AviSynth+ plug-in in the real AviSynth+: output byte-identical to the filter core called
// directly, clamped settings, Prefetch, errors under Prefetch, refusals, properties, and many
// filters created and freed.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "avisynthplus/clip_format.h"
#include "avisynthplus_host.h"
#include "base/settings.h"

namespace velmire::testing {
namespace {

using Named = std::vector<std::pair<const char*, AVS_Value>>;

struct FormatCase {
  const char* name;
  int pixelType;
  SampleFormat format;
  int width;
  int height;
};

std::string Describe(const FormatCase& c) {
  return std::string(c.name) + "_" + std::to_string(c.width) + "x" + std::to_string(c.height);
}
std::string Name(const ::testing::TestParamInfo<FormatCase>& info) { return Describe(info.param); }
void PrintTo(const FormatCase& c, std::ostream* out) { *out << Describe(c); }

struct SettingsCase {
  Named arguments;
  Settings settings;
};

const std::vector<SettingsCase>& SettingsCases() {
  static const std::vector<SettingsCase> cases = {
      {{}, Settings{}},
      {{{"Debug", avs_new_value_bool(1)}}, Settings{.Debug = true}},
      {{{"ThresholdY", avs_new_value_int(12)},
        {"Noise", avs_new_value_int(140)},
        {"Margin", avs_new_value_int(3)}},
       Settings{.ThresholdY = 12, .Noise = 140, .Margin = 3}},
      {{{"Noise", avs_new_value_int(200)}, {"Mode", avs_new_value_int(kMode.maximum + 4)}},
       Settings{.Noise = 200, .Mode = kMode.maximum}},
      // Out of range: clamped, as by the 2.5 function.
      {{{"ThresholdY", avs_new_value_int(kThresholdY.minimum - 5)},
        {"Noise", avs_new_value_int(kNoise.maximum + 700)},
        {"Margin", avs_new_value_int(kMargin.maximum + 5)}},
       Settings{kThresholdY.minimum, kNoise.maximum, kMargin.maximum, false}},
      {{{"ThresholdY", avs_new_value_int(kThresholdY.maximum + 1)},
        {"Noise", avs_new_value_int(kNoise.minimum - 1)},
        {"Margin", avs_new_value_int(kMargin.minimum - 3)},
        {"Debug", avs_new_value_bool(1)}},
       Settings{kThresholdY.maximum, kNoise.minimum, kMargin.minimum, true}},
  };
  return cases;
}

class AviSynthPlusOutput : public ::testing::TestWithParam<FormatCase> {};

TEST_P(AviSynthPlusOutput, MatchesTheCoreOnEveryFrameForEachSetting) {
  const FormatCase& c = GetParam();
  const ClipBytes clip = MakeDetailClip(c.format, c.width, c.height, 5, 23);
  AviSynthHost host;
  const Value source = host.MemoryClip(clip, c.pixelType);
  for (const SettingsCase& s : SettingsCases()) {
    const Value velmire = host.Velmire(source, s.arguments);
    ASSERT_TRUE(velmire.IsClip()) << velmire.Error();
    for (int n = 0; n < static_cast<int>(clip.frames.size()); ++n) {
      const Fetched frame = host.Frame(velmire, n);
      ASSERT_EQ(frame.error, "");
      EXPECT_TRUE(frame.bytes == CoreOutput(clip, n, s.settings))
          << "frame " << n << ", settings case " << (&s - SettingsCases().data());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, AviSynthPlusOutput,
    ::testing::Values(
        FormatCase{"YUY2", AVS_CS_YUY2, {Layout::kYUY2, 8}, 96, 32},
        FormatCase{"YV12", AVS_CS_YV12, {Layout::kPlanar420, 8}, 70, 34},
        FormatCase{"I420", AVS_CS_I420, {Layout::kPlanar420, 8}, 96, 64},
        FormatCase{"YV16", AVS_CS_YV16, {Layout::kPlanar422, 8}, 70, 34},
        FormatCase{"YUV420P10", AVS_CS_YUV420P10, {Layout::kPlanar420, 10}, 96, 64},
        FormatCase{"YUV422P10", AVS_CS_YUV422P10, {Layout::kPlanar422, 10}, 64, 32},
        FormatCase{"YUV420P12", AVS_CS_YUV420P12, {Layout::kPlanar420, 12}, 64, 32},
        FormatCase{"YUV422P14", AVS_CS_YUV422P14, {Layout::kPlanar422, 14}, 64, 32},
        FormatCase{"YUV420P16", AVS_CS_YUV420P16, {Layout::kPlanar420, 16}, 70, 34},
        FormatCase{"YUV422P16", AVS_CS_YUV422P16, {Layout::kPlanar422, 16}, 96, 64}),
    Name);

TEST(AviSynthPlusPlugin, RefusesOtherFormatsNamingTheAcceptedOnes) {
  AviSynthHost host;
  for (const char* pixelType : {"RGB32", "YV24", "Y8", "YUVA420", "YUV420PS", "YV411"}) {
    const Value clip = host.BlankClip(pixelType);
    ASSERT_TRUE(clip.IsClip()) << pixelType << ": " << clip.Error();
    EXPECT_EQ(host.Velmire(clip, {}).Error(), avisynthplus::kFormatRefusal) << pixelType;
  }
}

// AviSynth+ makes no frame of a subsampled format at a size the subsampling does not divide, so
// such a clip has no frames to filter; one that declares the size is refused with the crop the
// tool suggests.
TEST(AviSynthPlusPlugin, RefusesOddSizesAsAviSynthPlusDoes) {
  struct Case {
    const char* pixelType;
    int avsType;
    SampleFormat format;
    int width, height;
    std::string refusal;
  };
  const std::string oddWidth =
      "Velmire : odd width 7 is not supported (the width must be even: crop it, with ffmpeg -vf "
      "crop=6:";
  const Case cases[] = {
      {"YV12", AVS_CS_YV12, {Layout::kPlanar420, 8}, 7, 4, oddWidth + "4:0:0)"},
      {"YUV420P10", AVS_CS_YUV420P10, {Layout::kPlanar420, 10}, 6, 5,
       "Velmire : odd height 5 is not supported for 4:2:0 video (the height must be even: crop "
       "it, with ffmpeg -vf crop=6:4:0:0)"},
      {"YV16", AVS_CS_YV16, {Layout::kPlanar422, 8}, 7, 5, oddWidth + "5:0:0)"},
      {"YUY2", AVS_CS_YUY2, {Layout::kYUY2, 8}, 7, 2, oddWidth + "2:0:0)"},
  };
  AviSynthHost host;
  for (const Case& c : cases) {
    const Value blank =
        host.Invoke("BlankClip", {{"width", avs_new_value_int(c.width)},
                                  {"height", avs_new_value_int(c.height)},
                                  {"pixel_type", avs_new_value_string(c.pixelType)}});
    EXPECT_NE(blank.Error().find("Attempted to request a"), std::string::npos) << c.pixelType;
    const Value declared = host.MemoryClip(ClipBytes{c.format, c.width, c.height, {}}, c.avsType);
    EXPECT_EQ(host.Velmire(declared, {}).Error(), c.refusal) << c.pixelType;
  }
  // An odd height at 4:2:2 is whole chroma rows: filtered as any size.
  const ClipBytes clip = MakeDetailClip({Layout::kPlanar422, 8}, 6, 5, 3, 2);
  const Value velmire = host.Velmire(host.MemoryClip(clip, AVS_CS_YV16), {});
  EXPECT_TRUE(host.Frame(velmire, 1).bytes == CoreOutput(clip, 1, Settings{}));
}

TEST(AviSynthPlusPlugin, KeepsTheFramePropertiesOfFrameN) {
  const ClipBytes clip = MakeDetailClip({Layout::kPlanar422, 8}, 64, 32, 4, 3);
  AviSynthHost host;
  const Value velmire = host.Velmire(host.MemoryClip(clip, AVS_CS_YV16), {});
  for (int n = 0; n < 4; ++n) {
    const Fetched frame = host.Frame(velmire, n);
    ASSERT_EQ(frame.error, "");
    EXPECT_EQ(frame.frameProperty, n);
    EXPECT_EQ(frame.fieldBased, kFieldBased);
  }
}

// The frames either side of a broken one fail with its error, word for word; the rest do not.
TEST(AviSynthPlusPlugin, ReportsTheInputsErrorsIntact) {
  const ClipBytes clip = MakeDetailClip({Layout::kYUY2, 8}, 64, 16, 8, 4);
  AviSynthHost host;
  const Value velmire = host.Velmire(host.MemoryClip(clip, AVS_CS_YUY2, 4), {});
  for (int n = 0; n < 8; ++n) {
    EXPECT_EQ(host.Frame(velmire, n).error, n >= 3 && n <= 5 ? host.BrokenFrameError(4) : "")
        << "frame " << n;
  }
}

TEST(AviSynthPlusThreads, PrefetchFourGivesTheBytesOfOneThread) {
  const ClipBytes clip = MakeDetailClip({Layout::kPlanar420, 10}, 96, 64, 24, 5);
  AviSynthHost host;
  const Value velmire = host.Velmire(host.MemoryClip(clip, AVS_CS_YUV420P10),
                                     {{"Margin", avs_new_value_int(2)}});
  const Value prefetched = host.Prefetch(velmire, 4);
  ASSERT_TRUE(prefetched.IsClip()) << prefetched.Error();
  for (int n = 0; n < 24; ++n) {
    const Fetched threaded = host.Frame(prefetched, n);
    ASSERT_EQ(threaded.error, "") << "frame " << n;
    EXPECT_TRUE(threaded.bytes == CoreOutput(clip, n, Settings{.Margin = 2})) << "frame " << n;
    EXPECT_EQ(threaded.frameProperty, n);
  }
}

// Under Prefetch the error is raised on a worker thread and handed to the caller: every failing
// request must carry the input's message as it was, and frames before it must be right.
TEST(AviSynthPlusThreads, PrefetchReportsErrorsIntact) {
  const ClipBytes clip = MakeDetailClip({Layout::kYUY2, 8}, 64, 16, 40, 6);
  for (int round = 0; round < 20; ++round) {
    AviSynthHost host;
    const Value prefetched =
        host.Prefetch(host.Velmire(host.MemoryClip(clip, AVS_CS_YUY2, 20), {}), 4);
    int failures = 0;
    int sourceErrors = 0;
    for (int n = 0; n < 40; ++n) {
      const Fetched frame = host.Frame(prefetched, n);
      if (frame.error.empty()) {
        EXPECT_LT(n, 19);
        EXPECT_TRUE(frame.bytes == CoreOutput(clip, n, Settings{})) << "frame " << n;
      } else {
        ++failures;
        // AviSynth+'s frame cache can, rarely, hand a waiting thread an empty frame for a
        // fetch that failed elsewhere; the filter then reports the input gave no frame.
        const bool sourceError = frame.error == host.BrokenFrameError(20);
        EXPECT_TRUE(sourceError || frame.error == "Velmire : the input clip gave no frame")
            << "frame " << n << ": " << frame.error;
        sourceErrors += sourceError;
      }
    }
    EXPECT_GE(failures, 3);
    EXPECT_GE(sourceErrors, 1);
  }
}

// ASan's leak check covers the filters; AviSynth+ frees them with the environment at the latest,
// so they are freed here one by one through their clips.
TEST(AviSynthPlusPlugin, CreatesAndFreesManyFiltersWithoutLeaks) {
  const ClipBytes clip = MakeDetailClip({Layout::kPlanar420, 16}, 64, 32, 3, 9);
  AviSynthHost host;
  const Value source = host.MemoryClip(clip, AVS_CS_YUV420P16);
  const Value refused = host.BlankClip("YV24");
  for (int i = 0; i < 200; ++i) {
    const Value velmire = host.Velmire(source, {{"Noise", avs_new_value_int(i)}});
    ASSERT_EQ(host.Frame(velmire, i % 3).error, "");
    EXPECT_FALSE(host.Velmire(refused, {}).IsClip());
  }
}

}  // namespace
}  // namespace velmire::testing
