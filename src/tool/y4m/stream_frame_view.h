// Pointer-and-pitch views of one image plane, as frame buffers of any layout provide them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tool/y4m/y4m_header.h"

namespace velmire::cli {

struct PlaneRows {
  std::uint8_t* data;
  std::ptrdiff_t pitch;  // bytes from one row to the next
};

struct ConstPlaneRows {
  const std::uint8_t* data;
  std::ptrdiff_t pitch;
};

// The three planes of a frame stored in stream order (Y, U, V, packed rows), for reading.
struct StreamFrameView {
  FrameGeometry geometry;
  ConstPlaneRows y, u, v;

  std::uint8_t Y(int x, int row) const { return y.data[row * y.pitch + x]; }
  std::uint8_t U(int cx, int crow) const { return u.data[crow * u.pitch + cx]; }
  std::uint8_t V(int cx, int crow) const { return v.data[crow * v.pitch + cx]; }
};

inline StreamFrameView ViewStreamFrame(const FrameGeometry& g, const std::uint8_t* data) {
  const std::uint8_t* u = data + g.luma_bytes();
  const std::uint8_t* v = u + g.chroma_bytes();
  return StreamFrameView{g, {data, g.width}, {u, g.chroma_width}, {v, g.chroma_width}};
}

}  // namespace velmire::cli
