// 4:2:0 frames are filtered where they lie; 4:2:2 frames go through the YUY2 pass, packed on
// the way in and unpacked on the way out.
#include "tool/filtering/stream_frame_filter.h"

#include <algorithm>

#include "core/cross_color.h"
#include "tool/filtering/layout_conversion.h"

namespace velmire::cli {
namespace {

PlaneView ReadView(const std::uint8_t* data, int rowSize, int height) {
  return PlaneView{data, rowSize, rowSize, height};
}

WritablePlaneView WriteView(std::uint8_t* data, int rowSize, int height) {
  return WritablePlaneView{data, rowSize, rowSize, height};
}

FrameView Planar(const FrameGeometry& g, const std::uint8_t* data) {
  const std::uint8_t* u = data + g.luma_bytes();
  return FrameView{ReadView(data, g.width, g.height),
                   ReadView(u, g.chroma_width, g.chroma_height),
                   ReadView(u + g.chroma_bytes(), g.chroma_width, g.chroma_height)};
}

WritableFrameView WritablePlanar(const FrameGeometry& g, std::uint8_t* data) {
  std::uint8_t* u = data + g.luma_bytes();
  return WritableFrameView{WriteView(data, g.width, g.height),
                           WriteView(u, g.chroma_width, g.chroma_height),
                           WriteView(u + g.chroma_bytes(), g.chroma_width, g.chroma_height)};
}

std::vector<std::uint8_t> FilterPacked(const FrameGeometry& g, const Settings& settings,
                                       const KernelSet& kernels, const std::uint8_t* previous,
                                       const std::uint8_t* current, const std::uint8_t* next) {
  const int rowSize = 2 * g.width;
  const std::size_t bytes = std::size_t(rowSize) * std::size_t(g.height);
  std::vector<std::uint8_t> packed(4 * bytes);
  std::uint8_t* frame[4];
  for (std::size_t i = 0; i < 4; ++i) frame[i] = packed.data() + i * bytes;
  StreamFrameToYUY2(previous, g.width, g.height, {frame[0], rowSize});
  StreamFrameToYUY2(current, g.width, g.height, {frame[1], rowSize});
  StreamFrameToYUY2(next, g.width, g.height, {frame[2], rowSize});
  std::copy(frame[1], frame[1] + bytes, frame[3]);
  ReduceCrossColor({Layout::kYUY2, 8}, settings, kernels,
                   {ReadView(frame[0], rowSize, g.height), {}, {}},
                   {ReadView(frame[1], rowSize, g.height), {}, {}},
                   {ReadView(frame[2], rowSize, g.height), {}, {}},
                   {WriteView(frame[3], rowSize, g.height), {}, {}});
  std::vector<std::uint8_t> output(g.frame_bytes());
  YUY2ToStreamFrame({frame[3], rowSize}, g.width, g.height, output.data());
  return output;
}

}  // namespace

std::vector<std::uint8_t> FilterStreamFrame(const FrameGeometry& g, const Settings& settings,
                                            const KernelSet& kernels,
                                            const std::uint8_t* previous,
                                            const std::uint8_t* current,
                                            const std::uint8_t* next) {
  if (g.layout == ChromaLayout::k422) {
    return FilterPacked(g, settings, kernels, previous, current, next);
  }
  std::vector<std::uint8_t> output(current, current + g.frame_bytes());
  ReduceCrossColor({Layout::kPlanar420, 8}, settings, kernels, Planar(g, previous),
                   Planar(g, current), Planar(g, next), WritablePlanar(g, output.data()));
  return output;
}

}  // namespace velmire::cli
