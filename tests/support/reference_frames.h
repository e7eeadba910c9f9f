// Frames held in memory for the frame-server tests, and what the filter core makes of them when
// called directly: the reference the plug-ins' output must match byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/frame_view.h"
#include "base/settings.h"

namespace velmire::testing {

// One plane, rows stored without padding (pitch = rowSize).
struct PlaneBytes {
  int rowSize = 0;
  int height = 0;
  std::vector<uint8_t> bytes;

  const uint8_t* Row(int row) const { return bytes.data() + static_cast<size_t>(row) * rowSize; }
  uint8_t* Row(int row) { return bytes.data() + static_cast<size_t>(row) * rowSize; }
  friend bool operator==(const PlaneBytes&, const PlaneBytes&) = default;
};

// A frame: Y, U and V, or the packed plane alone in `y` (YUY2).
struct FrameBytes {
  PlaneBytes y, u, v;

  FrameView View() const;
  WritableFrameView WritableView();
  friend bool operator==(const FrameBytes&, const FrameBytes&) = default;
};

struct ClipBytes {
  SampleFormat format;
  int width = 0;
  int height = 0;
  std::vector<FrameBytes> frames;
};

// Frame geometry of a format: empty planes of the right sizes.
FrameBytes EmptyFrame(const SampleFormat& format, int width, int height);

// `count` frames of fine vertical stripes moving one sample a frame (upper half) and noise
// (lower half) in luma, noisy chroma, every sample within the format's bit depth.
ClipBytes MakeDetailClip(const SampleFormat& format, int width, int height, int count,
                         uint32_t seed);

// Output frame n as the core makes it from frames n-1, n and n+1, clamped to the clip.
FrameBytes CoreOutput(const ClipBytes& clip, int n, const Settings& settings);

// "YUY2", "420p8", "422p16", ... for test names and messages.
std::string FormatName(const SampleFormat& format);

}  // namespace velmire::testing
