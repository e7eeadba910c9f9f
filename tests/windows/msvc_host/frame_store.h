// The host's frames. Every frame and buffer made during the run is kept until the end, so
// that the host can check that each one was released (frame and buffer counts back to 0).
// Rows are laid out with a pitch wider than the row, and the bytes past each row are filled
// with a marker that nobody may overwrite.
#pragma once

#include "interface.h"

namespace msvc {

class FrameStore {
 public:
  FrameStore() = default;
  FrameStore(const FrameStore&) = delete;
  FrameStore& operator=(const FrameStore&) = delete;
  ~FrameStore();

  // A new frame (count 0, to be held by a PVideoFrame) of the given luma row size and height;
  // planar frames get two half-size chroma planes, V before U.
  VideoFrame* Allocate(int rowSize, int height, bool planar);

  int Made() const { return count_; }
  // Frames or buffers still referenced.
  int Held() const;
  // True when no byte past the end of a row of the frame was changed.
  static bool PaddingIntact(const VideoFrame& frame);

  static constexpr unsigned char kPaddingMarker = 0xA5;

 private:
  static constexpr int kCapacity = 256;
  VideoFrame* frames_[kCapacity] = {};
  int count_ = 0;
};

}  // namespace msvc
