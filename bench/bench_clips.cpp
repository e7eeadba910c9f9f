#include "bench_clips.h"

#include <cstdint>
#include <random>

#include "cli/demo_clip.h"
#include "cli/layout_conversion.h"
#include "cli/y4m_header.h"
#include "host/memory_clip.h"

namespace velmire::bench {
namespace {

// Frame `index` in stream order (Y plane, then U, then V, rows packed), 4:2:2 for YUY2 and
// 4:2:0 for the planar formats.
std::vector<uint8_t> StreamFrame(const BenchFormat& format, Content content, int index) {
  const bool yuy2 = format.pixelType == VideoInfo::CS_YUY2;
  const cli::ChromaLayout layout = yuy2 ? cli::ChromaLayout::k422 : cli::ChromaLayout::k420;
  const size_t bytes = cli::MakeFrameGeometry(layout, format.width, format.height).frame_bytes();
  switch (content) {
    case Content::kFlat:
      return std::vector<uint8_t>(bytes, 128);
    case Content::kNatural: {
      const cli::DemoSpec demo{format.width, format.height, kClipFrames};
      cli::DemoFrames frames = cli::RenderDemoFrames(demo, index);
      return std::move(yuy2 ? frames.yuv422.decoded : frames.yuv420.decoded);
    }
    case Content::kDense:
      break;
  }
  std::mt19937 random(static_cast<uint32_t>(index) * 7919u + 1u);
  std::vector<uint8_t> frame(bytes);
  for (uint8_t& b : frame) b = static_cast<uint8_t>(random());
  return frame;
}

PVideoFrame HostFrame(host::ScriptEnvironment& env, const VideoInfo& vi,
                      const std::vector<uint8_t>& stream) {
  PVideoFrame frame = env.NewVideoFrame(vi);
  auto view = [&](int plane) {
    return cli::PlaneView{frame->GetWritePtr(plane), frame->GetPitch(plane)};
  };
  if (vi.IsYUY2()) {
    cli::StreamFrameToYUY2(stream.data(), vi.width, vi.height, view(PLANAR_Y));
  } else {
    cli::StreamFrameToI420(stream.data(), vi.width, vi.height, view(PLANAR_Y), view(PLANAR_U),
                           view(PLANAR_V));
  }
  return frame;
}

}  // namespace

const std::vector<BenchFormat>& BenchFormats() {
  static const std::vector<BenchFormat> formats{
      {"YUY2 720x480", VideoInfo::CS_YUY2, 720, 480},
      {"YV12 720x480", VideoInfo::CS_YV12, 720, 480},
      {"YV12 1920x1080", VideoInfo::CS_YV12, 1920, 1080},
  };
  return formats;
}

const char* ContentName(Content content) {
  switch (content) {
    case Content::kFlat:
      return "flat";
    case Content::kNatural:
      return "natural";
    case Content::kDense:
      return "dense";
  }
  return "?";
}

PClip MakeBenchClip(host::ScriptEnvironment& env, const BenchFormat& format, Content content) {
  VideoInfo vi;
  vi.width = format.width;
  vi.height = format.height;
  vi.pixel_type = format.pixelType;
  vi.fps_numerator = 30000;
  vi.fps_denominator = 1001;
  vi.num_frames = kClipFrames;
  std::vector<PVideoFrame> frames;
  for (int i = 0; i < kClipFrames; ++i) {
    frames.push_back(HostFrame(env, vi, StreamFrame(format, content, i)));
  }
  return PClip(new host::MemoryClip(vi, std::move(frames)));
}

}  // namespace velmire::bench
