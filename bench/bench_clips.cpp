#include "bench_clips.h"

#include <cstring>
#include <random>

#include "tool/demo/demo_clip.h"
#include "tool/filtering/layout_conversion.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::bench {
namespace {

constexpr ptrdiff_t kRowAlignment = 64;

ptrdiff_t AlignedPitch(int rowSize) {
  return (rowSize + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
}

bool IsPacked(const BenchFormat& f) { return f.format.layout == Layout::kYUY2; }

// Frame `index` in stream order (Y plane, then U, then V, rows packed), 4:2:2 for YUY2 and
// 4:2:0 for the planar formats.
std::vector<uint8_t> StreamFrame(const BenchFormat& format, Content content, int index) {
  const bool packed = IsPacked(format);
  const cli::ChromaLayout layout = packed ? cli::ChromaLayout::k422 : cli::ChromaLayout::k420;
  const size_t bytes = cli::MakeFrameGeometry(layout, format.width, format.height).frame_bytes();
  switch (content) {
    case Content::kFlat:
      return std::vector<uint8_t>(bytes, 128);
    case Content::kNatural: {
      const cli::DemoSpec demo{format.width, format.height, kClipFrames};
      cli::DemoFrames frames = cli::RenderDemoFrames(demo, index);
      return std::move(packed ? frames.yuv422.decoded : frames.yuv420.decoded);
    }
    case Content::kDense:
      break;
  }
  std::mt19937 random(static_cast<uint32_t>(index) * 7919u + 1u);
  std::vector<uint8_t> frame(bytes);
  for (uint8_t& b : frame) b = static_cast<uint8_t>(random());
  return frame;
}

}  // namespace

BenchFrame::BenchFrame(const BenchFormat& format) {
  auto add = [&](int rowSize, int height) {
    const size_t offset = bytes_.size();
    const ptrdiff_t pitch = AlignedPitch(rowSize);
    planes_.push_back(Plane{offset, pitch, rowSize, height});
    bytes_.resize(offset + size_t(pitch) * size_t(height));
  };
  if (IsPacked(format)) {
    add(2 * format.width, format.height);
    return;
  }
  add(format.width, format.height);
  add(format.width / 2, format.height / 2);
  add(format.width / 2, format.height / 2);
}

FrameView BenchFrame::View() const {
  FrameView view;
  PlaneView* out[3] = {&view.y, &view.u, &view.v};
  for (size_t i = 0; i < planes_.size(); ++i) {
    const Plane& p = planes_[i];
    *out[i] = PlaneView{bytes_.data() + p.offset, p.pitch, p.rowSize, p.height};
  }
  return view;
}

WritableFrameView BenchFrame::WritableView() {
  WritableFrameView view;
  WritablePlaneView* out[3] = {&view.y, &view.u, &view.v};
  for (size_t i = 0; i < planes_.size(); ++i) {
    const Plane& p = planes_[i];
    *out[i] = WritablePlaneView{bytes_.data() + p.offset, p.pitch, p.rowSize, p.height};
  }
  return view;
}

void BenchFrame::CopyFrom(const BenchFrame& source) {
  for (size_t i = 0; i < planes_.size(); ++i) {
    const Plane& p = planes_[i];
    for (int r = 0; r < p.height; ++r) {
      std::memcpy(bytes_.data() + p.offset + size_t(r) * size_t(p.pitch),
                  source.bytes_.data() + p.offset + size_t(r) * size_t(p.pitch),
                  size_t(p.rowSize));
    }
  }
}

const std::vector<BenchFormat>& BenchFormats() {
  static const std::vector<BenchFormat> formats{
      {"YUY2 720x480", {Layout::kYUY2, 8}, 720, 480},
      {"YV12 720x480", {Layout::kPlanar420, 8}, 720, 480},
      {"YV12 1920x1080", {Layout::kPlanar420, 8}, 1920, 1080},
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

std::vector<BenchFrame> MakeBenchClip(const BenchFormat& format, Content content) {
  std::vector<BenchFrame> frames;
  for (int i = 0; i < kClipFrames; ++i) {
    const std::vector<uint8_t> stream = StreamFrame(format, content, i);
    BenchFrame& frame = frames.emplace_back(format);
    const WritableFrameView view = frame.WritableView();
    if (IsPacked(format)) {
      cli::StreamFrameToYUY2(stream.data(), format.width, format.height,
                             {view.y.data, view.y.pitch});
    } else {
      cli::StreamFrameToI420(stream.data(), format.width, format.height,
                             {view.y.data, view.y.pitch}, {view.u.data, view.u.pitch},
                             {view.v.data, view.v.pitch});
    }
  }
  return frames;
}

}  // namespace velmire::bench
