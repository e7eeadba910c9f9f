#include "tool/routes/streaming_source_clip.h"

#include "tool/routes/host_frames.h"

namespace velmire::cli {

StreamingSourceClip::StreamingSourceClip(StreamFrameWindow& window, IScriptEnvironment& env)
    : window_(window), env_(env), vi_(MakeVideoInfo(window.header(), window.total_frames())) {}

PVideoFrame StreamingSourceClip::GetFrame(int n, IScriptEnvironment*) {
  const std::shared_ptr<const Y4mFrame> frame = window_.Frame(n);
  if (!frame) return {};
  return ToHostFrame(env_, vi_, window_.header().geometry, frame->data.data());
}

bool StreamingSourceClip::GetParity(int) { return (vi_.image_type & VideoInfo::IT_TFF) != 0; }

}  // namespace velmire::cli
