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

  // Samples at the stream's depth.
  int Y(int x, int row) const { return Sample(y, x, row); }
  int U(int cx, int crow) const { return Sample(u, cx, crow); }
  int V(int cx, int crow) const { return Sample(v, cx, crow); }

  // Samples cut to their top 8 bits, for pictures (values a broken source puts above its
  // depth's range show as 255).
  int Y8(int x, int row) const { return To8Bits(Y(x, row)); }
  int U8(int cx, int crow) const { return To8Bits(U(cx, crow)); }
  int V8(int cx, int crow) const { return To8Bits(V(cx, crow)); }

 private:
  int Sample(ConstPlaneRows plane, int x, int row) const {
    if (geometry.bits_per_sample <= 8) return plane.data[row * plane.pitch + x];
    const std::uint8_t* at = plane.data + row * plane.pitch + 2 * x;
    return at[0] | at[1] << 8;
  }
  int To8Bits(int sample) const {
    const int top = sample >> (geometry.bits_per_sample - 8);
    return top < 255 ? top : 255;
  }
};

inline StreamFrameView ViewStreamFrame(const FrameGeometry& g, const std::uint8_t* data) {
  const std::uint8_t* u = data + g.luma_bytes();
  const std::uint8_t* v = u + g.chroma_bytes();
  return StreamFrameView{
      g, {data, g.luma_row_bytes()}, {u, g.chroma_row_bytes()}, {v, g.chroma_row_bytes()}};
}

}  // namespace velmire::cli
