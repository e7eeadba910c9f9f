#include "lab/clips/chroma_subsampling.h"

#include <algorithm>
#include <cmath>

namespace velmire::lab {
namespace {

std::uint8_t ToByte(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

void QuantiseChroma(const FloatPlane& full, const FrameGeometry& g, std::uint8_t* out) {
  for (int j = 0; j < g.chroma_height; ++j) {
    const auto [a, b] = SourceLinesOfChromaRow(g.layout, j, g.height);
    for (int i = 0; i < g.chroma_width; ++i) {
      const float sum = full.at(2 * i, a) + full.at(2 * i + 1, a) + full.at(2 * i, b) +
                        full.at(2 * i + 1, b);
      out[std::size_t(j) * std::size_t(g.chroma_width) + std::size_t(i)] =
          ToByte(128.0f + 0.25f * sum);
    }
  }
}

}  // namespace

std::pair<int, int> SourceLinesOfChromaRow(ChromaLayout layout, int chroma_row, int height) {
  if (layout == ChromaLayout::k422) return {chroma_row, chroma_row};
  const int first = 4 * (chroma_row / 2) + chroma_row % 2;
  const int second = first + 2 < height ? first + 2 : first;
  return {std::min(first, height - 1), second};
}

void QuantiseFrame(const FloatPlane& y, const FloatPlane& u, const FloatPlane& v,
                   ChromaLayout layout, std::uint8_t* out) {
  const FrameGeometry g = MakeFrameGeometry(layout, y.width, y.height);
  for (std::size_t i = 0; i < g.luma_bytes(); ++i) out[i] = ToByte(y.samples[i]);
  QuantiseChroma(u, g, out + g.luma_bytes());
  QuantiseChroma(v, g, out + g.luma_bytes() + g.chroma_bytes());
}

std::vector<std::uint8_t> SubsampleMask(const std::vector<std::uint8_t>& mask, int width,
                                        int height, ChromaLayout layout) {
  const FrameGeometry g = MakeFrameGeometry(layout, width, height);
  std::vector<std::uint8_t> out(g.chroma_bytes(), 0);
  auto at = [&](int x, int y) { return mask[std::size_t(y) * std::size_t(width) + std::size_t(x)]; };
  for (int j = 0; j < g.chroma_height; ++j) {
    const auto [a, b] = SourceLinesOfChromaRow(layout, j, height);
    for (int i = 0; i < g.chroma_width; ++i) {
      const bool marked = at(2 * i, a) || at(2 * i + 1, a) || at(2 * i, b) || at(2 * i + 1, b);
      out[std::size_t(j) * std::size_t(g.chroma_width) + std::size_t(i)] = marked ? 1 : 0;
    }
  }
  return out;
}

}  // namespace velmire::lab
