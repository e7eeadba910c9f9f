// Row addressing of the planes of the frames one planar pass works with. Every plane is
// reached through its own pointer and pitch (in bytes), so YV12 (V stored first) and I420 (U
// first) take the same path, and frames with different pitches may be mixed. Rows are read as
// bytes or as 16-bit samples, as the pass asks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/frame_view.h"

namespace velmire {

// The Y, U and V planes of a frame that is only read.
struct PlanarPlanes {
  const uint8_t* y;
  const uint8_t* u;
  const uint8_t* v;
  ptrdiff_t pitchY;
  ptrdiff_t pitchU;
  ptrdiff_t pitchV;

  template <typename Sample = uint8_t>
  const Sample* LumaRow(int row) const {
    return reinterpret_cast<const Sample*>(y + row * pitchY);
  }
  template <typename Sample = uint8_t>
  const Sample* URow(int row) const {
    return reinterpret_cast<const Sample*>(u + row * pitchU);
  }
  template <typename Sample = uint8_t>
  const Sample* VRow(int row) const {
    return reinterpret_cast<const Sample*>(v + row * pitchV);
  }
};

// The U and V planes of the output frame, the only planes a pass writes.
struct PlanarChromaOutput {
  uint8_t* u;
  uint8_t* v;
  ptrdiff_t pitchU;
  ptrdiff_t pitchV;

  template <typename Sample = uint8_t>
  Sample* URow(int row) const {
    return reinterpret_cast<Sample*>(u + row * pitchU);
  }
  template <typename Sample = uint8_t>
  Sample* VRow(int row) const {
    return reinterpret_cast<Sample*>(v + row * pitchV);
  }
};

// Frames n-1, n (as fetched) and n+1, and the output copy of frame n.
struct PlanarPassPlanes {
  std::array<PlanarPlanes, 3> inputs;  // indexed by relative frame number + 1
  PlanarChromaOutput output;

  // relative: -1 for frame n-1, 0 for frame n, +1 for frame n+1.
  const PlanarPlanes& Frame(int relative) const {
    return inputs[static_cast<size_t>(relative + 1)];
  }
  const PlanarPlanes& Source() const { return Frame(0); }
};

PlanarPassPlanes PlanesOf(const FrameView& previous, const FrameView& current,
                          const FrameView& next, const WritableFrameView& output);

}  // namespace velmire
