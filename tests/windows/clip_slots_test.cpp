// The clip object as the host sees it in memory: a table pointer followed by the reference
// count, and a table whose first seven slots the host calls by index in its own conventions
// (stdcall with `this` as the first argument; thiscall for the destructor). Each slot is called
// here through a plain function pointer of the host's view of it, not through the C++
// declaration.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "host/interface/plugin_interface.h"

namespace velmire {
namespace {

struct Calls {
  int parity = -1;
  int64_t audioStart = 0;
  int64_t audioCount = 0;
  int hints = 0;
  int range = 0;
  int destroyed = 0;
};

class ProbeClip final : public ClipBase {
 public:
  explicit ProbeClip(Calls& calls) : calls_(calls) { vi_.width = 77; }
  ~ProbeClip() override { ++calls_.destroyed; }

  PVideoFrame GetFrame(int n, IScriptEnvironment*) override {
    frame_.row_size = n;
    return PVideoFrame(&frame_);
  }
  bool VELMIRE_STDCALL GetParity(int n) override {
    calls_.parity = n;
    return n == 7;
  }
  void VELMIRE_STDCALL GetAudio(void*, int64_t start, int64_t count, IScriptEnvironment*) override {
    calls_.audioStart = start;
    calls_.audioCount = count;
  }
  void VELMIRE_STDCALL SetCacheHints(int hints, int range) override {
    calls_.hints = hints;
    calls_.range = range;
  }
  const VideoInfo& VELMIRE_STDCALL GetVideoInfo() override { return vi_; }

  VideoFrameBuffer buffer_{};
  VideoFrame frame_{0, &buffer_, 0, 0, 0, 0, 0, 0, 0};

 private:
  Calls& calls_;
  VideoInfo vi_;
};

template <typename Fn>
Fn Slot(IClip* clip, int index) {
  void* const* table = *reinterpret_cast<void* const* const*>(clip);
  return reinterpret_cast<Fn>(table[index]);
}

TEST(ClipObject, IsATablePointerFollowedByTheReferenceCount) {
  Calls calls;
  PClip first(new ProbeClip(calls));
  PClip second(new ProbeClip(calls));
  const auto* bytes = reinterpret_cast<const unsigned char*>(first.get());
  EXPECT_EQ(reinterpret_cast<const unsigned char*>(&first->refcnt) - bytes,
            static_cast<std::ptrdiff_t>(sizeof(void*)));
  int32_t count = 0;
  std::memcpy(&count, bytes + sizeof(void*), sizeof count);
  EXPECT_EQ(count, 1);
  PClip again = first;
  std::memcpy(&count, bytes + sizeof(void*), sizeof count);
  EXPECT_EQ(count, 2);
  // The first word is the class's table, shared by its objects.
  EXPECT_EQ(*reinterpret_cast<void* const*>(first.get()), *reinterpret_cast<void* const*>(second.get()));
}

TEST(ClipObject, SlotsAnswerInTheHostsOrderAndConvention) {
  Calls calls;
  auto* probe = new ProbeClip(calls);
  IClip* clip = probe;
  clip->refcnt = 1;

  EXPECT_EQ(Slot<int(VELMIRE_STDCALL*)(IClip*)>(clip, 0)(clip), AVISYNTH_INTERFACE_VERSION);

  VideoFrame* frame = nullptr;
  using GetFrameFn = VideoFrame**(VELMIRE_STDCALL*)(IClip*, VideoFrame**, int, IScriptEnvironment*);
  EXPECT_EQ(Slot<GetFrameFn>(clip, 1)(clip, &frame, 1234, nullptr), &frame);
  ASSERT_EQ(frame, &probe->frame_);
  EXPECT_EQ(frame->row_size, 1234);
  EXPECT_EQ(frame->refcount, 1) << "a frame returned through the slot carries one reference";
  frame->Release();

  EXPECT_TRUE(Slot<bool(VELMIRE_STDCALL*)(IClip*, int)>(clip, 2)(clip, 7));
  EXPECT_EQ(calls.parity, 7);

  using GetAudioFn = void(VELMIRE_STDCALL*)(IClip*, void*, int64_t, int64_t, IScriptEnvironment*);
  Slot<GetAudioFn>(clip, 3)(clip, nullptr, 0x100000002LL, -3, nullptr);
  EXPECT_EQ(calls.audioStart, 0x100000002LL);
  EXPECT_EQ(calls.audioCount, -3);

  Slot<void(VELMIRE_STDCALL*)(IClip*, int, int)>(clip, 4)(clip, 5, 6);
  EXPECT_EQ(calls.hints, 5);
  EXPECT_EQ(calls.range, 6);

  const VideoInfo& vi = Slot<const VideoInfo&(VELMIRE_STDCALL*)(IClip*)>(clip, 5)(clip);
  EXPECT_EQ(vi.width, 77);

  // Slot 6 with bit 0 set destroys the object and frees it. The host's compiler calls it as
  // any destructor: `this` in a register, the flags on the stack.
  Slot<void(VELMIRE_THISCALL*)(IClip*, unsigned)>(clip, 6)(clip, 1);
  EXPECT_EQ(calls.destroyed, 1);
}

}  // namespace
}  // namespace velmire
