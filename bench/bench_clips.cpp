#include "bench_clips.h"

#include <cstring>
#include <random>
#include <string>

#include "lab/clips/demo_clip.h"
#include "tool/routes/layout_conversion.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::bench {
namespace {

constexpr ptrdiff_t kRowAlignment = 64;

ptrdiff_t AlignedPitch(int rowSize) {
  return (rowSize + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
}

bool IsPacked(const BenchFormat& f) { return f.format.layout == Layout::kYUY2; }
bool IsPlanar420(const BenchFormat& f) { return f.format.layout == Layout::kPlanar420; }
// Formats the tool's conversions do not cover: planar 4:2:2, and samples of more than 8 bits.
bool NeedsOwnFill(const BenchFormat& f) {
  return f.format.layout == Layout::kPlanar422 || f.format.bitsPerSample > 8;
}
int BytesPerSample(const BenchFormat& f) { return f.format.bitsPerSample > 8 ? 2 : 1; }

// Frame `index` in stream order (Y plane, then U, then V, rows packed), 8-bit: 4:2:0 for the
// 4:2:0 formats and 4:2:2 for the others. Deeper formats are filled from it, so that every
// depth filters the same picture.
std::vector<uint8_t> StreamFrame(const BenchFormat& format, Content content, int index) {
  const bool is420 = IsPlanar420(format);
  const cli::ChromaLayout layout = is420 ? cli::ChromaLayout::k420 : cli::ChromaLayout::k422;
  const size_t bytes = cli::MakeFrameGeometry(layout, format.width, format.height).frame_bytes();
  switch (content) {
    case Content::kFlat:
      return std::vector<uint8_t>(bytes, 128);
    case Content::kNatural: {
      const lab::DemoSpec demo{format.width, format.height, kClipFrames};
      lab::DemoFrames frames = lab::RenderDemoFrames(demo, index);
      return std::move(is420 ? frames.yuv420.decoded : frames.yuv422.decoded);
    }
    case Content::kDense:
      break;
  }
  std::mt19937 random(static_cast<uint32_t>(index) * 7919u + 1u);
  std::vector<uint8_t> frame(bytes);
  for (uint8_t& b : frame) b = static_cast<uint8_t>(random());
  return frame;
}

// Copies a stream-order 8-bit frame into the planes of a planar frame of any chroma layout and
// depth, each sample shifted up to the format's bits (the same picture at a higher depth).
void FillPlanarFrame(const std::vector<uint8_t>& stream, const BenchFormat& format,
                     const WritableFrameView& view) {
  const int shift = format.format.bitsPerSample - 8;
  const uint8_t* from = stream.data();
  for (const WritablePlaneView* plane : {&view.y, &view.u, &view.v}) {
    const int samples = plane->rowSize / BytesPerSample(format);
    for (int row = 0; row < plane->height; ++row) {
      uint8_t* to = plane->data + row * plane->pitch;
      for (int i = 0; i < samples; ++i, ++from) {
        if (BytesPerSample(format) == 1) {
          to[i] = *from;
        } else {
          const uint16_t sample = static_cast<uint16_t>(*from << shift);
          std::memcpy(to + 2 * i, &sample, sizeof sample);
        }
      }
    }
  }
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
  const int sampleBytes = BytesPerSample(format);
  const int chromaHeight = IsPlanar420(format) ? format.height / 2 : format.height;
  add(sampleBytes * format.width, format.height);
  add(sampleBytes * (format.width / 2), chromaHeight);
  add(sampleBytes * (format.width / 2), chromaHeight);
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
      {"YV16 720x480", {Layout::kPlanar422, 8}, 720, 480},
      {"YV12 720x480", {Layout::kPlanar420, 8}, 720, 480},
      {"YV12 1920x1080", {Layout::kPlanar420, 8}, 1920, 1080},
      {"P10 4:2:2 720x480", {Layout::kPlanar422, 10}, 720, 480},
      {"P10 4:2:0 720x480", {Layout::kPlanar420, 10}, 720, 480},
      {"P10 4:2:0 1920x1080", {Layout::kPlanar420, 10}, 1920, 1080},
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
    if (NeedsOwnFill(format)) {
      FillPlanarFrame(stream, format, view);
    } else if (IsPacked(format)) {
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
