// Host-free views of the frames the core reads and writes: per plane a pointer, the pitch (bytes
// from one row to the next), the row size in bytes and the height in rows. Samples above 8 bits
// are 16-bit values in the machine's byte order (little-endian on every supported processor).
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmire {

// How the samples of a frame are laid out.
enum class Layout {
  kYUY2,       // packed 4:2:2, one plane of Y0 U Y1 V bytes (8-bit only)
  kPlanar420,  // three planes, chroma halved in both directions
  kPlanar422,  // three planes, chroma halved horizontally
};

struct SampleFormat {
  Layout layout = Layout::kPlanar420;
  int bitsPerSample = 8;  // 8, or 9 .. 16 in 16-bit containers (planar layouts only)

  friend bool operator==(const SampleFormat&, const SampleFormat&) = default;
};

struct PlaneView {
  const uint8_t* data = nullptr;
  ptrdiff_t pitch = 0;
  int rowSize = 0;  // bytes
  int height = 0;   // rows
};

struct WritablePlaneView {
  uint8_t* data = nullptr;
  ptrdiff_t pitch = 0;
  int rowSize = 0;
  int height = 0;
};

// A frame: the Y, U and V planes. A YUY2 frame has its one packed plane in `y`.
struct FrameView {
  PlaneView y, u, v;
};

struct WritableFrameView {
  WritablePlaneView y, u, v;
};

// Frames n-2 and n+2 of output frame n, which the stronger mode also reads (see
// Settings::FramesEitherSide). Front-ends hand them in only when both exist: a stand-in at the
// clip's ends (frame n-1 for a missing n-2) has the wrong subcarrier phase for the blend that
// takes them, so frames 0, 1 and the last two blend with n-1 and n+1 alone.
struct OuterFrames {
  FrameView before;  // frame n-2
  FrameView after;   // frame n+2
};

}  // namespace velmire
