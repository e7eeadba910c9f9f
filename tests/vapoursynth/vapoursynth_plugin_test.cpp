// The VapourSynth plug-in in the real VapourSynth core: output byte-identical to the filter
// core called directly, refusals, properties, threads, and filters created and freed.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/settings.h"
#include "vapoursynth_host.h"

namespace velmire::testing {
namespace {

using Arguments = std::vector<std::pair<const char*, int64_t>>;

struct FormatCase {
  int preset;
  SampleFormat format;
  int width;
  int height;
};

std::string Describe(const FormatCase& c) {
  return FormatName(c.format) + "_" + std::to_string(c.width) + "x" + std::to_string(c.height);
}
std::string Name(const ::testing::TestParamInfo<FormatCase>& info) { return Describe(info.param); }
void PrintTo(const FormatCase& c, std::ostream* out) { *out << Describe(c); }

// Arguments as a script passes them, and the settings they stand for.
struct SettingsCase {
  Arguments arguments;
  Settings settings;
};

const std::vector<SettingsCase>& SettingsCases() {
  static const std::vector<SettingsCase> cases = {
      {{}, Settings{}},
      {{{"debug", 1}}, Settings{.Debug = true}},
      {{{"threshold_y", 12}, {"noise", 140}, {"margin", 3}},
       Settings{.ThresholdY = 12, .Noise = 140, .Margin = 3}},
      {{{"threshold_y", 10}, {"noise", 200}, {"margin", 4}, {"mode", 1}},
       Settings{.ThresholdY = 10, .Noise = 200, .Margin = 4, .Mode = 1}},
      {{{"threshold_y", kThresholdY.minimum}, {"noise", kNoise.maximum},
        {"margin", kMargin.maximum}, {"debug", 0}},
       Settings{kThresholdY.minimum, kNoise.maximum, kMargin.maximum, false}},
      {{{"threshold_y", kThresholdY.maximum}, {"noise", kNoise.minimum},
        {"margin", kMargin.minimum}, {"debug", 1}},
       Settings{kThresholdY.maximum, kNoise.minimum, kMargin.minimum, true}},
  };
  return cases;
}

class VapourSynthOutput : public ::testing::TestWithParam<FormatCase> {};

TEST_P(VapourSynthOutput, MatchesTheCoreOnEveryFrameForEachSetting) {
  const FormatCase& c = GetParam();
  const ClipBytes clip = MakeDetailClip(c.format, c.width, c.height, 5, 17);
  VapourSynthHost host(2);
  const NodeRef source = host.MemoryClip(clip);
  for (const SettingsCase& s : SettingsCases()) {
    const Invoked velmire = host.Velmire(source.get(), s.arguments);
    ASSERT_EQ(velmire.error, "");
    for (int n = 0; n < static_cast<int>(clip.frames.size()); ++n) {
      const FrameRef frame = host.Frame(velmire.node.get(), n);
      EXPECT_TRUE(host.Bytes(frame.get()) == CoreOutput(clip, n, s.settings))
          << "frame " << n << ", settings case " << (&s - SettingsCases().data());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, VapourSynthOutput,
    ::testing::Values(FormatCase{pfYUV420P8, {Layout::kPlanar420, 8}, 96, 64},
                      FormatCase{pfYUV422P8, {Layout::kPlanar422, 8}, 70, 34},
                      FormatCase{pfYUV420P9, {Layout::kPlanar420, 9}, 64, 32},
                      FormatCase{pfYUV420P10, {Layout::kPlanar420, 10}, 70, 34},
                      FormatCase{pfYUV422P10, {Layout::kPlanar422, 10}, 96, 64},
                      FormatCase{pfYUV422P12, {Layout::kPlanar422, 12}, 64, 32},
                      FormatCase{pfYUV420P16, {Layout::kPlanar420, 16}, 96, 64},
                      FormatCase{pfYUV422P16, {Layout::kPlanar422, 16}, 70, 34}),
    Name);

TEST(VapourSynthPlugin, RegistersItsNamespaceAndFunction) {
  VapourSynthHost host(1);
  ASSERT_NE(host.plugin(), nullptr);
  EXPECT_STREQ(host.api().getPluginNamespace(host.plugin()), "velmire");
  VSPluginFunction* function = host.api().getPluginFunctionByName("Velmire", host.plugin());
  ASSERT_NE(function, nullptr);
  EXPECT_STREQ(host.api().getPluginFunctionArguments(function),
               "clip:vnode;threshold_y:int:opt;noise:int:opt;margin:int:opt;debug:int:opt;mode:int:opt;");
}

TEST(VapourSynthPlugin, RefusesOtherFormatsNamingTheClipsAndTheAcceptedOnes) {
  const std::string accepted =
      "; accepted are YUV420P8 to YUV420P16 and YUV422P8 to YUV422P16 "
      "(integer YUV 4:2:0 and 4:2:2, 8 to 16 bits, constant format and size)";
  VapourSynthHost host(1);
  struct Case {
    int preset;
    const char* refusal;
  };
  for (const Case& c : {Case{pfRGB24, "the clip's format RGB24 is not supported"},
                        Case{pfYUV444P8, "the clip's format YUV444P8 is not supported"},
                        Case{pfGray8, "the clip's format Gray8 is not supported"},
                        Case{pfYUV410P8, "the clip's format YUV410P8 is not supported"},
                        Case{pfYUV420PS, "the clip's format YUV420PS is not supported"},
                        Case{pfYUV422PH, "the clip's format YUV422PH is not supported"}}) {
    const NodeRef clip = host.BlankClip(c.preset, 64, 32);
    EXPECT_EQ(host.Velmire(clip.get(), {}).error, std::string("Velmire: ") + c.refusal + accepted);
  }

  const NodeRef small = host.BlankClip(pfYUV420P8, 64, 32);
  const NodeRef large = host.BlankClip(pfYUV420P8, 96, 64);
  const NodeRef other = host.BlankClip(pfYUV422P8, 64, 32);
  EXPECT_EQ(host.Velmire(host.Splice(small.get(), large.get()).get(), {}).error,
            "Velmire: clips of variable size are not supported (format YUV420P8)" + accepted);
  EXPECT_EQ(host.Velmire(host.Splice(small.get(), other.get()).get(), {}).error,
            "Velmire: clips of variable format are not supported" + accepted);
}

TEST(VapourSynthPlugin, RefusesArgumentsOutOfRangeNamingTheArgumentAndRange) {
  VapourSynthHost host(1);
  const NodeRef clip = host.BlankClip(pfYUV420P8, 64, 32);
  struct Case {
    const char* name;
    IntegerSetting range;
  };
  for (const Case& c : {Case{"threshold_y", kThresholdY}, Case{"noise", kNoise},
                        Case{"margin", kMargin}, Case{"debug", {"debug", 0, 1, 0}}}) {
    const std::string expected = std::string("Velmire: ") + c.name + " must be from " +
                                 std::to_string(c.range.minimum) + " to " +
                                 std::to_string(c.range.maximum) + ", not ";
    for (const int64_t value : {int64_t{c.range.minimum} - 1, int64_t{c.range.maximum} + 1,
                                int64_t{1} << 40}) {
      EXPECT_EQ(host.Velmire(clip.get(), {{c.name, value}}).error,
                expected + std::to_string(value));
    }
  }
}

TEST(VapourSynthPlugin, KeepsTheFramePropertiesAndSharesTheLumaOfFrameN) {
  const ClipBytes clip = MakeDetailClip({Layout::kPlanar420, 10}, 64, 32, 4, 3);
  VapourSynthHost host(2);
  const NodeRef source = host.MemoryClip(clip);
  const Invoked velmire = host.Velmire(source.get(), {});
  ASSERT_EQ(velmire.error, "");
  for (int n = 0; n < 4; ++n) {
    const FrameRef input = host.Frame(source.get(), n);
    const FrameRef output = host.Frame(velmire.node.get(), n);
    const VSMap* properties = host.api().getFramePropertiesRO(output.get());
    EXPECT_EQ(host.api().mapGetInt(properties, kFrameNumberProperty, 0, nullptr), n);
    EXPECT_EQ(host.api().mapGetInt(properties, "_FieldBased", 0, nullptr), kFieldBased);
    EXPECT_EQ(host.api().getReadPtr(output.get(), 0), host.api().getReadPtr(input.get(), 0));
  }
}

// The clip cut to the even size its chroma planes cover, from its top left.
ClipBytes EvenPart(const ClipBytes& clip) {
  ClipBytes even = clip;
  even.width -= clip.width % 2;
  if (clip.format.layout == Layout::kPlanar420) even.height -= clip.height % 2;
  const int bytes = clip.format.bitsPerSample > 8 ? 2 : 1;
  for (FrameBytes& frame : even.frames) {
    PlaneBytes y{even.width * bytes, even.height, {}};
    for (int row = 0; row < y.height; ++row) {
      y.bytes.insert(y.bytes.end(), frame.y.Row(row), frame.y.Row(row) + y.rowSize);
    }
    frame.y = y;
  }
  return even;
}

// VapourSynth's core lets a subsampled clip have an odd size (its own filters refuse to make
// one): the plug-in then gives the chroma the core makes of the clip's even part, and every
// luma sample, the last column or row included, unchanged.
TEST(VapourSynthPlugin, FiltersAnOddSizedClipAsItsEvenPart) {
  struct Case {
    SampleFormat format;
    int width, height;
  };
  VapourSynthHost host(2);
  const SampleFormat yuv420p8{Layout::kPlanar420, 8};
  for (const Case& c : {Case{yuv420p8, 3, 4}, Case{yuv420p8, 7, 2}, Case{yuv420p8, 6, 5},
                        Case{yuv420p8, 37, 21}, Case{{Layout::kPlanar422, 10}, 45, 12},
                        Case{{Layout::kPlanar420, 16}, 9, 7}}) {
    const std::string label = FormatName(c.format) + " " + std::to_string(c.width) + "x" +
                              std::to_string(c.height);
    const ClipBytes clip = MakeDetailClip(c.format, c.width, c.height, 4, 29);
    const NodeRef source = host.MemoryClip(clip);
    for (const SettingsCase& s : {SettingsCases()[1], SettingsCases()[3]}) {
      const Invoked velmire = host.Velmire(source.get(), s.arguments);
      ASSERT_EQ(velmire.error, "") << label;
      for (int n = 0; n < 4; ++n) {
        FrameBytes expected = CoreOutput(EvenPart(clip), n, s.settings);
        expected.y = clip.frames[n].y;
        EXPECT_TRUE(host.Bytes(host.Frame(velmire.node.get(), n).get()) == expected)
            << label << ", frame " << n;
      }
    }
  }
}

TEST(VapourSynthThreads, FourCoreThreadsGiveTheBytesOfOne) {
  const ClipBytes clip = MakeDetailClip({Layout::kPlanar422, 8}, 96, 64, 24, 5);
  std::vector<FrameBytes> outputs[2];
  for (const int threads : {1, 4}) {
    VapourSynthHost host(threads);
    const NodeRef source = host.MemoryClip(clip);
    const Invoked velmire = host.Velmire(source.get(), {{"margin", 2}});
    ASSERT_EQ(velmire.error, "");
    outputs[threads == 4] = host.AllFrames(velmire.node.get());
  }
  ASSERT_EQ(outputs[0].size(), clip.frames.size());
  for (size_t n = 0; n < clip.frames.size(); ++n) {
    EXPECT_TRUE(outputs[1][n] == outputs[0][n]) << "frame " << n;
    EXPECT_TRUE(outputs[0][n] == CoreOutput(clip, static_cast<int>(n), Settings{.Margin = 2}))
        << "frame " << n;
  }
}

// Freeing the host fails the test when the core finds filters or frames left behind; the
// AddressSanitizer build finds memory left behind.
TEST(VapourSynthPlugin, CreatesAndFreesManyFiltersWithoutLeaks) {
  const ClipBytes clip = MakeDetailClip({Layout::kPlanar420, 16}, 64, 32, 3, 9);
  VapourSynthHost host(2);
  const NodeRef source = host.MemoryClip(clip);
  const NodeRef refused = host.BlankClip(pfYUV444P8, 64, 32);
  for (int i = 0; i < 200; ++i) {
    const Invoked velmire = host.Velmire(source.get(), {{"noise", i % (kNoise.maximum + 1)}});
    ASSERT_EQ(velmire.error, "");
    host.Frame(velmire.node.get(), i % 3);
    EXPECT_NE(host.Velmire(refused.get(), {}).error, "");
    EXPECT_NE(host.Velmire(source.get(), {{"margin", kMargin.maximum + 1}}).error, "");
  }
}

}  // namespace
}  // namespace velmire::testing
