// Row addressing of the planes of the frames one planar pass works with. Every plane is
// reached through its frame's own offset and pitch, so YV12 (V stored first) and I420 (U
// first) take the same path, and frames with different pitches may be mixed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "plugin/pass_frames.h"

namespace velmire {

// The Y, U and V planes of a frame that is only read.
struct PlanarPlanes {
  const uint8_t* y;
  const uint8_t* u;
  const uint8_t* v;
  int pitchY;
  int pitchUV;

  const uint8_t* LumaRow(int row) const { return y + static_cast<ptrdiff_t>(row) * pitchY; }
  const uint8_t* URow(int row) const { return u + static_cast<ptrdiff_t>(row) * pitchUV; }
  const uint8_t* VRow(int row) const { return v + static_cast<ptrdiff_t>(row) * pitchUV; }
};

// The U and V planes of the output frame, the only planes a pass writes.
struct PlanarChromaOutput {
  uint8_t* u;
  uint8_t* v;
  int pitchUV;

  uint8_t* URow(int row) const { return u + static_cast<ptrdiff_t>(row) * pitchUV; }
  uint8_t* VRow(int row) const { return v + static_cast<ptrdiff_t>(row) * pitchUV; }
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

PlanarPlanes ReadPlanes(const VideoFrame& frame);
PlanarChromaOutput WritableChroma(const VideoFrame& frame);
PlanarPassPlanes PlanesOf(const PassFrames& frames);

}  // namespace velmire
