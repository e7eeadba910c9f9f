// Frames for the fuzzers with any pitch: each plane in its own allocation, sized exactly, with
// the padding between rows poisoned under AddressSanitizer, so that a read or write of any
// byte outside a plane's rows is reported.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/interface/plugin_interface.h"

namespace velmire::fuzz {

struct PlaneSpec {
  int rowSize;
  int height;
  int pitch;
};

class FuzzFrameStore {
 public:
  FuzzFrameStore();
  FuzzFrameStore(const FuzzFrameStore&) = delete;
  FuzzFrameStore& operator=(const FuzzFrameStore&) = delete;
  ~FuzzFrameStore();
  // A frame whose planes are filled from `pixels` (cycled); planar frames get U and V planes of
  // half the luma size. The store keeps the memory until it is destroyed.
  PVideoFrame Make(bool planar, int rowSize, int height, int extraPitch, const uint8_t* pixels,
                   size_t pixelCount, size_t& cursor);

 private:
  struct Entry;
  std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace velmire::fuzz
