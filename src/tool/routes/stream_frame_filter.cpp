// Frames are filtered where they lie: the stream's three planes are the core's planes, in 4:2:0
// and in 4:2:2, at every depth.
#include "tool/routes/stream_frame_filter.h"

#include <optional>
#include <stdexcept>

#include "core/cross_color.h"

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
  return FrameView{ReadView(data, g.luma_row_bytes(), g.height),
                   ReadView(u, g.chroma_row_bytes(), g.chroma_height),
                   ReadView(u + g.chroma_bytes(), g.chroma_row_bytes(), g.chroma_height)};
}

WritableFrameView WritablePlanar(const FrameGeometry& g, std::uint8_t* data) {
  std::uint8_t* u = data + g.luma_bytes();
  return WritableFrameView{WriteView(data, g.luma_row_bytes(), g.height),
                           WriteView(u, g.chroma_row_bytes(), g.chroma_height),
                           WriteView(u + g.chroma_bytes(), g.chroma_row_bytes(), g.chroma_height)};
}

}  // namespace

SampleFormat StreamSampleFormat(const FrameGeometry& g) {
  return SampleFormat{g.layout == ChromaLayout::k422 ? Layout::kPlanar422 : Layout::kPlanar420,
                      g.bits_per_sample};
}

std::vector<std::uint8_t> FilterStreamFrame(const FrameGeometry& g, const Settings& settings,
                                            const KernelSet& kernels,
                                            const std::uint8_t* previous,
                                            const std::uint8_t* current,
                                            const std::uint8_t* next,
                                            const std::uint8_t* before2,
                                            const std::uint8_t* after2) {
  const SampleFormat format = StreamSampleFormat(g);
  if (!IsSupportedFormat(format)) {
    throw std::invalid_argument("FilterStreamFrame: the core does not filter this format");
  }
  std::vector<std::uint8_t> output(current, current + g.frame_bytes());
  std::optional<OuterFrames> outer;
  if (before2 && after2) outer = OuterFrames{Planar(g, before2), Planar(g, after2)};
  ReduceCrossColor(format, settings, kernels, Planar(g, previous), Planar(g, current),
                   Planar(g, next), WritablePlanar(g, output.data()), outer ? &*outer : nullptr);
  return output;
}

}  // namespace velmire::cli
