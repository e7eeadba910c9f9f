// Allocation and recycling of frames and their buffers.
//
// A frame whose handles are all gone (frame and buffer counts both 0) is idle and may be
// reused for a new frame of the same buffer size; idle frames beyond a small reserve are
// freed, so memory follows the number of frames alive, not the number ever made.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "host/interface/plugin_interface.h"

namespace velmire::host {

struct FrameGeometry {
  int rowSize = 0;  // bytes per luma (or packed) row
  int height = 0;
  bool planar = false;    // 4:2:0 planes follow the luma plane
  bool vFirst = false;    // V plane stored before U (YV12) rather than after (I420)
  int align = FRAME_ALIGN;
};

class FramePool {
 public:
  FramePool();
  FramePool(const FramePool&) = delete;
  FramePool& operator=(const FramePool&) = delete;
  ~FramePool();

  // A new frame with one reference taken; throws HostError when memory runs out or the
  // geometry is unusable.
  PVideoFrame Allocate(const FrameGeometry& geometry);

  size_t LiveFrames() const;   // frames with at least one handle
  size_t TotalFrames() const;  // frames held by the pool, idle ones included
  size_t TotalBytes() const;   // pixel memory held by the pool

 private:
  struct Record;
  static bool IsIdle(const Record& record);
  static void Lay(Record& record, const FrameGeometry& geometry, int pitch, int pitchUV);

  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<Record>> records_;
  size_t totalBytes_ = 0;
};

// Geometry of a frame that holds the given format.
FrameGeometry GeometryOf(const VideoInfo& vi, int align);
// Geometry of an existing frame, for copying it.
FrameGeometry GeometryOf(const VideoFrame& frame);

}  // namespace velmire::host
