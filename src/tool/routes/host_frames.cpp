#include "tool/routes/host_frames.h"

#include <algorithm>
#include <climits>

#include "tool/routes/layout_conversion.h"

namespace velmire::cli {

VideoInfo MakeVideoInfo(const Y4mHeader& header, std::optional<std::int64_t> frames) {
  VideoInfo vi;
  vi.width = header.geometry.width;
  vi.height = header.geometry.height;
  vi.pixel_type =
      header.geometry.layout == ChromaLayout::k422 ? VideoInfo::CS_YUY2 : VideoInfo::CS_I420;
  vi.fps_numerator = header.fps_numerator ? header.fps_numerator : 25;
  vi.fps_denominator = header.fps_denominator ? header.fps_denominator : 1;
  // A stream of unknown length is as long as it turns out to be; the filter does not rely
  // on the count.
  vi.num_frames = static_cast<int>(std::min<std::int64_t>(frames.value_or(INT_MAX), INT_MAX));
  if (header.interlacing == 't') vi.image_type = VideoInfo::IT_TFF;
  if (header.interlacing == 'b') vi.image_type = VideoInfo::IT_BFF;
  return vi;
}

PVideoFrame ToHostFrame(IScriptEnvironment& env, const VideoInfo& vi, const FrameGeometry& g,
                        const std::uint8_t* data) {
  PVideoFrame frame = env.NewVideoFrame(vi);
  if (g.layout == ChromaLayout::k422) {
    StreamFrameToYUY2(data, g.width, g.height,
                      {frame->GetWritePtr(PLANAR_Y), frame->GetPitch(PLANAR_Y)});
  } else {
    StreamFrameToI420(data, g.width, g.height,
                      {frame->GetWritePtr(PLANAR_Y), frame->GetPitch(PLANAR_Y)},
                      {frame->GetWritePtr(PLANAR_U), frame->GetPitch(PLANAR_U)},
                      {frame->GetWritePtr(PLANAR_V), frame->GetPitch(PLANAR_V)});
  }
  return frame;
}

void FromHostFrame(const VideoFrame& frame, const FrameGeometry& g, std::uint8_t* out) {
  if (g.layout == ChromaLayout::k422) {
    YUY2ToStreamFrame({frame.GetReadPtr(PLANAR_Y), frame.GetPitch(PLANAR_Y)}, g.width, g.height,
                      out);
  } else {
    I420ToStreamFrame({frame.GetReadPtr(PLANAR_Y), frame.GetPitch(PLANAR_Y)},
                      {frame.GetReadPtr(PLANAR_U), frame.GetPitch(PLANAR_U)},
                      {frame.GetReadPtr(PLANAR_V), frame.GetPitch(PLANAR_V)}, g.width, g.height,
                      out);
  }
}

}  // namespace velmire::cli
