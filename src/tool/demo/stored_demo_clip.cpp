#include "tool/demo/stored_demo_clip.h"

#include <utility>

#include "tool/y4m/frame_pipeline.h"

namespace velmire::cli {
namespace {

void Keep(DemoFrame& frame, StoredDemoClip& clip, std::size_t index) {
  clip.decoded[index] = std::move(frame.decoded);
  clip.clean[index] = std::move(frame.clean);
  clip.detail_masks[index] = std::move(frame.detail_mask);
}

}  // namespace

std::vector<StoredDemoClip> RenderStoredDemoClips(const DemoSpec& demo, int threads) {
  const std::size_t frames = demo.frames > 0 ? std::size_t(demo.frames) : 0;
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
  stages.frame_exists = [&](std::int64_t n) { return n < std::int64_t(frames); };
  stages.produce = [&](std::int64_t n) {
    DemoFrames rendered = RenderDemoFrames(demo, static_cast<int>(n));
    Keep(rendered.yuv422, clips[0], std::size_t(n));
    Keep(rendered.yuv420, clips[1], std::size_t(n));
    return Y4mFrame{};
  };
  stages.consume = [](std::int64_t, const Y4mFrame&) {};
  RunFramePipeline(threads, stages);
  return clips;
}

}  // namespace velmire::cli
