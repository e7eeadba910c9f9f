#include "lab/clips/stored_demo_clip.h"

#include <algorithm>
#include <utility>

#include "lab/clips/tool_names.h"

namespace velmire::lab {
namespace {

void Keep(DemoFrame& frame, StoredDemoClip& clip, std::size_t index) {
  clip.decoded[index] = std::move(frame.decoded);
  clip.clean[index] = std::move(frame.clean);
  clip.detail_masks[index] = std::move(frame.detail_mask);
}

}  // namespace

std::vector<StoredDemoClip> RenderStoredClips(const DemoSpec& demo, int threads,
                                              const std::function<DemoFrames(int)>& render,
                                              int repeat_after) {
  const std::size_t frames = demo.frames > 0 ? std::size_t(demo.frames) : 0;
  const std::size_t rendered =
      repeat_after > 0 ? std::min(frames, std::size_t(repeat_after)) : frames;
  std::vector<StoredDemoClip> clips(2);
  clips[0].layout = ChromaLayout::k422;
  clips[1].layout = ChromaLayout::k420;
  for (StoredDemoClip& clip : clips) {
    clip.header_line = DemoHeaderLine(demo, clip.layout);
    clip.decoded.resize(frames);
    clip.clean.resize(frames);
    clip.detail_masks.resize(frames);
  }
  // Each frame is rendered on its own, so the frames are spread over the threads; every
  // thread fills only the slots of its own frame.
  FrameStages stages;
  stages.frame_exists = [&](std::int64_t n) { return n < std::int64_t(rendered); };
  stages.produce = [&](std::int64_t n) {
    DemoFrames made = render(static_cast<int>(n));
    Keep(made.yuv422, clips[0], std::size_t(n));
    Keep(made.yuv420, clips[1], std::size_t(n));
    return Y4mFrame{};
  };
  stages.consume = [](std::int64_t, const Y4mFrame&) {};
  RunFramePipeline(threads, stages);
  for (StoredDemoClip& clip : clips) {
    for (std::size_t n = rendered; n < frames; ++n) {
      clip.decoded[n] = clip.decoded[n - rendered];
      clip.clean[n] = clip.clean[n - rendered];
      clip.detail_masks[n] = clip.detail_masks[n - rendered];
    }
  }
  return clips;
}

std::vector<std::size_t> FramesToJudge(const StoredDemoClip& clip) {
  std::vector<std::size_t> frames;
  if (clip.judged_frames.empty()) {
    for (std::size_t n = 0; n < clip.decoded.size(); ++n) frames.push_back(n);
  } else {
    for (const int n : clip.judged_frames) frames.push_back(std::size_t(n));
  }
  return frames;
}

}  // namespace velmire::lab
