// Planar test frames held as plain vectors, their conversion to and from host frames, and a
// runner that passes three frames (n-1, n, n+1) through a real CrossColorFilter.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "plugin/filter.h"
#include "plugin/filter.h"
#include "core/kernel_table.h"

namespace velmire::test {

struct PlanarImage {
  int width = 0;   // luma samples per row
  int height = 0;  // luma rows
  std::vector<uint8_t> y, u, v;

  PlanarImage() = default;
  PlanarImage(int lumaWidth, int lumaHeight);

  // Chroma geometry as the host derives it from the luma geometry.
  int ChromaWidth() const { return width >> 1; }
  int ChromaHeight() const { return height >> 1; }

  uint8_t& Y(int row, int column) { return y[Index(row, column, width)]; }
  uint8_t& U(int row, int column) { return u[Index(row, column, ChromaWidth())]; }
  uint8_t& V(int row, int column) { return v[Index(row, column, ChromaWidth())]; }
  uint8_t Y(int row, int column) const { return y[Index(row, column, width)]; }
  uint8_t U(int row, int column) const { return u[Index(row, column, ChromaWidth())]; }
  uint8_t V(int row, int column) const { return v[Index(row, column, ChromaWidth())]; }

  bool operator==(const PlanarImage&) const = default;

 private:
  static size_t Index(int row, int column, int rowWidth);
};

// "" when equal, else the first differing sample, for failure messages.
std::string FirstDifference(const PlanarImage& actual, const PlanarImage& expected);

// Every sample drawn uniformly from 0..255.
PlanarImage RandomImage(int lumaWidth, int lumaHeight, std::mt19937& random);

struct RunOptions {
  int pixelType = VideoInfo::CS_YV12;
  int align = FRAME_ALIGN;  // 1 makes every pitch equal the row size
  std::vector<int> neighbourAligns;  // aligns of frames n-1 and n+1 when they should differ
  const KernelSet* kernels = nullptr;  // null: the filter's own choice
};

// Output frame n of a filter over the clip [n-1, n, n+1]; checks that every frame is released
// once the filter and the handles are gone.
PlanarImage RunPlanarFilter(const PlanarImage& previous, const PlanarImage& current,
                            const PlanarImage& next, const FilterSettings& settings,
                            const RunOptions& options = {});

}  // namespace velmire::test
