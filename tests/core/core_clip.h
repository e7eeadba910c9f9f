// Clips of three frames for tests of the core: planes with their own pitches, samples of one to
// two bytes, and the conversions between planar 4:2:2 and packed YUY2.
#pragma once

#include <cstdint>
#include <vector>

#include "base/frame_view.h"
#include "base/settings.h"
#include "core/kernel_set.h"

namespace velmire::testing {

struct Plane {
  int width = 0;   // samples
  int height = 0;
  int bytesPerSample = 1;
  int pitch = 0;   // bytes, at least width * bytesPerSample
  std::vector<uint8_t> bytes;

  Plane() = default;
  Plane(int w, int h, int sampleBytes, int padding);
  int Get(int x, int y) const;
  void Set(int x, int y, int value);
  PlaneView View() const;
  WritablePlaneView WritableView();
  bool SameSamples(const Plane& other) const;
};

struct Frame {
  Plane y, u, v;  // a YUY2 frame has its packed plane in y
};

// Frames n-2 .. n+2 of 8-bit planar video of luma width x height (chroma halved across, and
// also down for 4:2:0): steep luma detail, still in the left half (a little noise) and moving
// one sample a frame in the right half (frames n-2 and n+2 show it where n-1 and n+1 do, so
// that rows still against n+-1 are against n+-2 too); noisy chroma (whose partners vote PAL),
// in frames n-2 and n+2 frame n's mirrored (so that the blend of those is taken).
std::vector<Frame> DetailFrames(Layout layout, int width, int height, int padding,
                                uint32_t seed);

// Every sample shifted left by `shift`, stored in two bytes.
Frame Deepened(const Frame& frame, int shift, int padding);
Frame PackedYUY2(const Frame& planar422, int padding);

// Output frame n of the core for frames[0..2] = n-1, n, n+1, or frames[0..4] = n-2 .. n+2.
Frame Filtered(const std::vector<Frame>& frames, const SampleFormat& format,
               const Settings& settings, const KernelSet& kernels);

}  // namespace velmire::testing
