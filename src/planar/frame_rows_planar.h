// Row addressing of the planes of the frames one planar pass works with. Every plane is
// reached through its own pointer and pitch (in bytes), so YV12 (V stored first) and I420 (U
// first) take the same path, and frames with different pitches may be mixed. Rows are read as
// bytes or as 16-bit samples, as the pass asks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/frame_view.h"

namespace velmire {

// The Y, U and V planes of a frame that is only read.
struct FrameRowsPlanar {
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
struct OutputRowsPlanar {
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

// Frames n-1, n (as fetched) and n+1, and the output copy of frame n; frames n-2 and n+2
// when the pass has them.
struct InputFramesPlanar {
  std::array<FrameRowsPlanar, 3> inputs;  // indexed by relative frame number + 1
  OutputRowsPlanar output;
  std::optional<std::array<FrameRowsPlanar, 2>> outer;  // frames n-2 and n+2

  // relative: -1 for frame n-1, 0 for frame n, +1 for frame n+1.
  const FrameRowsPlanar& Frame(int relative) const {
    return inputs[static_cast<size_t>(relative + 1)];
  }
  const FrameRowsPlanar& Source() const { return Frame(0); }
};

InputFramesPlanar InputFramesPlanarOf(const FrameView& previous, const FrameView& current,
                                      const FrameView& next, const WritableFrameView& output,
                                      const OuterFrames* outer = nullptr);

}  // namespace velmire
