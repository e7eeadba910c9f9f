// Frames, buffers and the counted handles: the rules a plug-in relies on.
#include <gtest/gtest.h>

#include "host/script_environment.h"
#include "support/test_clips.h"

namespace velmire::host {
namespace {

using velmire::testing::MakeVideoInfo;

TEST(Frames, RowsAreAlignedAndChromaIsHalved) {
  ScriptEnvironment env;
  for (const int type : {VideoInfo::CS_YV12, VideoInfo::CS_I420}) {
    const PVideoFrame f = env.NewVideoFrame(MakeVideoInfo(type, 722, 481));
    EXPECT_EQ(f->GetRowSize(), 722);
    EXPECT_EQ(f->GetPitch() % 16, 0);
    EXPECT_EQ(f->GetRowSize(PLANAR_U), 361);
    EXPECT_EQ(f->GetHeight(PLANAR_V), 240);
    EXPECT_EQ(f->GetPitch(PLANAR_U) % 16, 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(f->GetReadPtr(PLANAR_U)) % 16, 0u);
    // YV12 keeps V before U, I420 U before V.
    EXPECT_EQ(f->GetOffset(PLANAR_V) < f->GetOffset(PLANAR_U), type == VideoInfo::CS_YV12);
  }
  const PVideoFrame packed = env.NewVideoFrame(MakeVideoInfo(VideoInfo::CS_YUY2, 360, 10));
  EXPECT_EQ(packed->GetRowSize(), 720);
  EXPECT_EQ(packed->GetRowSize(PLANAR_U), 0);
  EXPECT_EQ(packed->GetHeight(PLANAR_U), 0);
}

TEST(Frames, WritePointerOnlyWhenFrameAndBufferAreHeldOnce) {
  ScriptEnvironment env;
  PVideoFrame a = env.NewVideoFrame(MakeVideoInfo(VideoInfo::CS_YUY2, 32, 4));
  const int32_t before = a->vfb->sequence_number;
  EXPECT_NE(a->GetWritePtr(), nullptr);
  EXPECT_EQ(a->vfb->sequence_number, before + 1);
  {
    const PVideoFrame b = a;
    EXPECT_EQ(a->GetWritePtr(), nullptr);
    EXPECT_EQ(a->vfb->sequence_number, before + 1);
  }
  EXPECT_NE(a->GetWritePtr(), nullptr);
}

TEST(Frames, MakeWritableCopiesASharedFrameAndLeavesTheOriginal) {
  ScriptEnvironment env;
  const VideoInfo vi = MakeVideoInfo(VideoInfo::CS_YV12, 48, 8);
  const PVideoFrame source = velmire::testing::MakeFrame(env, vi, 0, velmire::testing::RandomFill(7));
  PVideoFrame output = source;
  EXPECT_TRUE(env.MakeWritable(&output));
  EXPECT_NE(output->vfb, source->vfb);
  for (const int plane : {PLANAR_Y, PLANAR_U, PLANAR_V})
    EXPECT_EQ(velmire::testing::PlaneBytes(output, plane), velmire::testing::PlaneBytes(source, plane));
  EXPECT_NE(output->GetWritePtr(), nullptr);
  EXPECT_FALSE(env.MakeWritable(&output));  // already writable: kept as it is
}

TEST(Frames, IdleFramesAreRecycledSoMemoryFollowsLiveFrames) {
  ScriptEnvironment env;
  const VideoInfo vi = MakeVideoInfo(VideoInfo::CS_YV12, 64, 16);
  for (int i = 0; i < 200; ++i) {
    const PVideoFrame a = env.NewVideoFrame(vi);
    const PVideoFrame b = env.NewVideoFrame(vi);
  }
  EXPECT_EQ(env.frames().LiveFrames(), 0u);
  EXPECT_LE(env.frames().TotalFrames(), 10u);
}

TEST(Handles, ClipIsDestroyedThroughItsSlotWhenTheLastHandleDrops) {
  static int destroyed = 0;
  struct Probe : ClipBase {
    VideoInfo vi{};
    ~Probe() override { ++destroyed; }
    PVideoFrame GetFrame(int, IScriptEnvironment*) override { return {}; }
    bool VELMIRE_STDCALL GetParity(int) override { return false; }
    void VELMIRE_STDCALL GetAudio(void*, int64_t, int64_t, IScriptEnvironment*) override {}
    const VideoInfo& VELMIRE_STDCALL GetVideoInfo() override { return vi; }
  };
  destroyed = 0;
  auto* probe = new Probe;
  {
    PClip a(probe);
    AVSValue v(a);
    EXPECT_EQ(probe->refcnt, 2);
    const AVSValue copy = v;
    EXPECT_EQ(probe->refcnt, 3);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(Values, IndexingFollowsTheArrayRule) {
  const AVSValue elements[] = {AVSValue(1), AVSValue(true)};
  const AVSValue array(elements, 2);
  EXPECT_EQ(array[0].AsInt(), 1);
  EXPECT_TRUE(array[1].AsBool());
  EXPECT_TRUE(array[5].IsArray());  // past the end: the value itself
  const AVSValue single(7);
  EXPECT_EQ(single[3].AsInt(), 7);
  EXPECT_EQ(AVSValue(2.5f).AsInt(9), 9);  // only an exact int counts as an int
  EXPECT_EQ(AVSValue().AsBool(true), true);
}

TEST(MemoryClip, AnswersOutOfRangeNumbersWithTheNearestFrame) {
  ScriptEnvironment env;
  const VideoInfo vi = MakeVideoInfo(VideoInfo::CS_YUY2, 32, 4, 3);
  const PClip clip = velmire::testing::MakeClip(env, vi, [](int f, int, int, int) {
    return static_cast<uint8_t>(f);
  });
  const struct {
    int asked;
    uint8_t served;
  } cases[] = {{-1, 0}, {-2147483647 - 1, 0}, {0, 0}, {2, 2}, {3, 2}, {2147483647, 2}};
  for (const auto& c : cases)
    EXPECT_EQ(clip->GetFrame(c.asked, &env)->GetReadPtr()[0], c.served) << c.asked;
}

}  // namespace
}  // namespace velmire::host
