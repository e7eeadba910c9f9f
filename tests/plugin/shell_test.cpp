// The plug-in shell: registration, argument reading, clamping, format refusal, ownership and
// what passes through from the input clip.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "plugin/filter.h"
#include "support/test_clips.h"

extern "C" const char* VELMIRE_STDCALL AvisynthPluginInit2(velmire::IScriptEnvironment* env);

namespace velmire {
namespace {

using host::HostError;
using host::ScriptEnvironment;
using testing::MakeClip;
using testing::MakeVideoInfo;
using testing::RandomFill;

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override { EXPECT_EQ(AvisynthPluginInit2(&env), nullptr); }

  PClip Source(int pixelType, int width = 64, int height = 8, int frames = 3) {
    VideoInfo vi = MakeVideoInfo(pixelType, width, height, frames);
    vi.audio_samples_per_second = 48000;
    vi.sample_type = VideoInfo::SAMPLE_INT16;
    vi.nchannels = 2;
    vi.num_audio_samples = 48000;
    vi.image_type = VideoInfo::IT_TFF;
    return MakeClip(env, vi, RandomFill(3));
  }

  const CrossColorFilter& AsFilter(const AVSValue& value) {
    const auto* filter = dynamic_cast<const CrossColorFilter*>(value.AsClip().get());
    EXPECT_NE(filter, nullptr);
    return *filter;
  }

  ScriptEnvironment env;
};

TEST_F(ShellTest, RegistersOneFunction) {
  const auto functions = env.Functions();
  ASSERT_EQ(functions.size(), 1u);
  EXPECT_EQ(functions[0].name, "Velmire");
  EXPECT_EQ(functions[0].params, "c[ThresholdY]i[Noise]i[Margin]i[Debug]b");
  EXPECT_EQ(functions[0].apply, &CreateCrossColorFilter);
  EXPECT_EQ(functions[0].user_data, nullptr);
}

TEST_F(ShellTest, OmittedArgumentsTakeTheirDefaults) {
  const PClip source = Source(VideoInfo::CS_YUY2);
  const FilterSettings clipOnly = AsFilter(env.Invoke("Velmire", {source})).settings();
  EXPECT_EQ(clipOnly.ThresholdY, 30);
  EXPECT_EQ(clipOnly.Noise, 60);
  EXPECT_EQ(clipOnly.Margin, 1);
  EXPECT_FALSE(clipOnly.Debug);
  const FilterSettings marginOnly =
      AsFilter(env.Invoke("Velmire", {source}, {{"Margin", AVSValue(3)}})).settings();
  EXPECT_EQ(marginOnly.ThresholdY, 30);
  EXPECT_EQ(marginOnly.Noise, 60);
  EXPECT_EQ(marginOnly.Margin, 3);
  EXPECT_FALSE(marginOnly.Debug);
}

TEST_F(ShellTest, ArgumentsOfAnotherTypeTakeTheirDefaults) {
  // The host matches types before the call; the creation function itself only reads exact tags.
  const PClip source = Source(VideoInfo::CS_YV12);
  const AVSValue args[] = {AVSValue(source), AVSValue(12.0f), AVSValue(true), AVSValue(2),
                           AVSValue(1)};
  AVSValueRaw result{};
  CreateCrossColorFilter(&result, AVSValue(args, 5).raw(), nullptr, &env);
  const FilterSettings s = AsFilter(AVSValue::Adopt(result)).settings();
  EXPECT_EQ(s.ThresholdY, 30);
  EXPECT_EQ(s.Noise, 60);
  EXPECT_EQ(s.Margin, 2);
  EXPECT_FALSE(s.Debug);
}

TEST_F(ShellTest, SettingsAreClamped) {
  const PClip source = Source(VideoInfo::CS_I420);
  const struct {
    int given;
    int threshold;  // ThresholdY and Noise share the range 0..255
    int margin;     // Margin's range is 0..4
  } cases[] = {{-5, 0, 0},      {-1, 0, 0},     {0, 0, 0},   {4, 4, 4},
               {5, 5, 4},       {255, 255, 4},  {256, 255, 4}, {INT_MAX, 255, 4},
               {INT_MIN, 0, 0}};
  for (const auto& c : cases) {
    const FilterSettings s =
        AsFilter(env.Invoke("Velmire", {source, AVSValue(c.given), AVSValue(c.given),
                                        AVSValue(c.given), AVSValue(true)}))
            .settings();
    EXPECT_EQ(s.ThresholdY, c.threshold) << c.given;
    EXPECT_EQ(s.Noise, c.threshold) << c.given;
    EXPECT_EQ(s.Margin, c.margin) << c.given;
    EXPECT_TRUE(s.Debug);
  }
}

TEST_F(ShellTest, RefusesOtherFormatsWithoutLeaking) {
  const int refused[] = {VideoInfo::CS_BGR24, VideoInfo::CS_BGR32,
                         // Planar types of later hosts that share bits with YV12 and YUY2.
                         VideoInfo::CS_YV12 | (1 << 9), VideoInfo::CS_YUY2 | (1 << 5)};
  for (const int type : refused) {
    const PClip source = Source(type, 16, 4);
    try {
      env.Invoke("Velmire", {source});
      ADD_FAILURE() << std::hex << type << " accepted";
    } catch (const HostError& e) {
      EXPECT_STREQ(e.what(), "Velmire : YUY2, YV12 only");
    }
    EXPECT_EQ(source->refcnt, 1) << "the refused call kept a reference to its input";
  }
  // The constructor keeps its own check.
  const PClip rgb = Source(VideoInfo::CS_BGR32, 16, 4);
  EXPECT_THROW(CrossColorFilter(rgb, 30, 60, 1, false, &env), HostError);
  EXPECT_EQ(rgb->refcnt, 1);
}

TEST_F(ShellTest, HostHoldsTheOnlyReferenceAndDroppingItReleasesTheInput) {
  PClip source = Source(VideoInfo::CS_YUY2);
  {
    const AVSValue result = env.Invoke("Velmire", {source});
    EXPECT_EQ(result.AsClip()->refcnt, 2);  // the value's reference and AsClip's temporary
    EXPECT_EQ(result.raw().clip->refcnt, 1);
    EXPECT_EQ(source->refcnt, 2);
  }
  EXPECT_EQ(source->refcnt, 1);
}

TEST_F(ShellTest, FormatParityAndAudioPassThrough) {
  const PClip source = Source(VideoInfo::CS_YV12);
  const PClip filter = env.Invoke("Velmire", {source}).AsClip();
  EXPECT_EQ(std::memcmp(&filter->GetVideoInfo(), &source->GetVideoInfo(), sizeof(VideoInfo)), 0);
  EXPECT_EQ(filter->GetVersion(), 2);
  filter->SetCacheHints(1, 10);
  for (int n : {0, 1, 2}) EXPECT_EQ(filter->GetParity(n), source->GetParity(n));
  std::vector<uint8_t> a(400), b(400);
  filter->GetAudio(a.data(), 1234, 100, &env);
  source->GetAudio(b.data(), 1234, 100, &env);
  EXPECT_EQ(a, b);
}

TEST_F(ShellTest, AsksForFramesNThenNeighboursWithoutClamping) {
  for (const int type : {VideoInfo::CS_YUY2, VideoInfo::CS_YV12}) {
    auto* recorder = new host::RecordingClip(Source(type, 64, 8, 3));
    const PClip recorded(recorder);
    for (const bool debug : {false, true}) {
      const PClip filter =
          env.Invoke("Velmire", {recorded}, {{"Debug", AVSValue(debug)}}).AsClip();
      const size_t start = recorder->Requests().size();
      filter->GetFrame(0, &env);
      filter->GetFrame(2, &env);
      filter->GetFrame(INT_MIN, &env);
      filter->GetFrame(INT_MAX, &env);
      const std::vector<int> expected = {0,       -1,      1,           2,       1,
                                         3,       INT_MIN, INT_MIN,     INT_MIN + 1,
                                         INT_MAX, INT_MAX - 1, INT_MAX};
      const std::vector<int> requests = recorder->Requests();
      EXPECT_EQ(std::vector<int>(requests.begin() + static_cast<long>(start), requests.end()),
                expected);
    }
  }
}

TEST_F(ShellTest, OutputIsANewBufferAndTheSourceStaysUnchanged) {
  for (const int type : {VideoInfo::CS_YUY2, VideoInfo::CS_YV12, VideoInfo::CS_I420}) {
    const PClip source = Source(type, 64, 12);
    const PVideoFrame before = source->GetFrame(1, &env);
    const auto bytesBefore = testing::PlaneBytes(before, PLANAR_Y);
    // Noise 0 accepts no match, so the output must equal the input byte for byte.
    const PClip filter = env.Invoke("Velmire", {source}, {{"Noise", AVSValue(0)}}).AsClip();
    const PVideoFrame out = filter->GetFrame(1, &env);
    EXPECT_NE(out->vfb, before->vfb);
    EXPECT_EQ(testing::PlaneBytes(before, PLANAR_Y), bytesBefore);
    EXPECT_EQ(testing::PlaneBytes(out, PLANAR_Y), bytesBefore);
  }
  EXPECT_EQ(env.frames().LiveFrames(), 0u);
}

TEST_F(ShellTest, NeighboursOfAnotherSizeAreRefused) {
  // A clip whose frames differ in size cannot be read safely with frame n's geometry.
  const VideoInfo vi = MakeVideoInfo(VideoInfo::CS_YUY2, 64, 8, 2);
  std::vector<PVideoFrame> frames{testing::MakeFrame(env, vi, 0, RandomFill(1)),
                                  testing::MakeFrame(env, MakeVideoInfo(VideoInfo::CS_YUY2, 48, 8),
                                                     1, RandomFill(2))};
  const PClip source(new host::MemoryClip(vi, std::move(frames)));
  const PClip filter = env.Invoke("Velmire", {source}).AsClip();
  try {
    filter->GetFrame(0, &env);
    ADD_FAILURE() << "accepted";
  } catch (const HostError& e) {
    EXPECT_STREQ(e.what(), "Velmire : frames differ in size");
  }
}

}  // namespace
}  // namespace velmire
