// A frame's pixel memory (VideoFrameBuffer) and a view of it with its geometry (VideoFrame).
//
// Both records are created and recycled by the host. Their methods are compiled into whoever
// uses them, so they must behave exactly as the host expects: reference counts change only
// atomically, and a write pointer to luma (or to packed pixels) is handed out only while the
// frame and its buffer are each held once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/interface/interlocked.h"

namespace velmire {

enum PlaneId { PLANAR_Y = 1 << 0, PLANAR_U = 1 << 1, PLANAR_V = 1 << 2 };

inline constexpr int FRAME_ALIGN = 16;

class VideoFrameBuffer {
 public:
  uint8_t* data;
  int data_size;
  int32_t sequence_number;  // counts up each time a write pointer is handed out
  int32_t refcount;         // number of live frames that use this buffer

  uint8_t* GetWritePtr() {
    InterlockedIncrement32(sequence_number);
    return data;
  }
};

class VideoFrame {
 public:
  int32_t refcount;
  VideoFrameBuffer* vfb;
  int offset;
  int pitch;
  int row_size;
  int height;
  int offsetU;
  int offsetV;
  int pitchUV;  // 0 for interleaved frames, which have no chroma planes

  static bool IsChroma(int plane) { return plane == PLANAR_U || plane == PLANAR_V; }

  int GetPitch(int plane = PLANAR_Y) const { return IsChroma(plane) ? pitchUV : pitch; }
  int GetRowSize(int plane = PLANAR_Y) const {
    if (IsChroma(plane)) return pitchUV ? row_size >> 1 : 0;
    return row_size;
  }
  int GetHeight(int plane = PLANAR_Y) const {
    if (IsChroma(plane)) return pitchUV ? height >> 1 : 0;
    return height;
  }
  int GetOffset(int plane = PLANAR_Y) const {
    if (plane == PLANAR_U) return offsetU;
    if (plane == PLANAR_V) return offsetV;
    return offset;
  }

  const uint8_t* GetReadPtr(int plane = PLANAR_Y) const { return vfb->data + GetOffset(plane); }

  bool IsWritable() const {
    return InterlockedRead32(refcount) == 1 && InterlockedRead32(vfb->refcount) == 1;
  }

  // Luma (or packed pixels): only while frame and buffer are each held once, and then the
  // buffer's sequence number counts up. Chroma planes of a planar frame: always.
  uint8_t* GetWritePtr(int plane = PLANAR_Y) const {
    if (IsChroma(plane)) return vfb->data + GetOffset(plane);
    return IsWritable() ? vfb->GetWritePtr() + offset : nullptr;
  }

  void AddRef() { InterlockedIncrement32(refcount); }
  // Dropping the last reference to the frame also drops the frame's reference to its buffer.
  void Release() {
    if (InterlockedDecrement32(refcount) == 0) InterlockedDecrement32(vfb->refcount);
  }
};

// The host's layout, pinned on 32-bit builds: both records are plain data without a table of
// virtual functions, shared with the host as they are.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(VideoFrameBuffer) == 16);
static_assert(offsetof(VideoFrameBuffer, data) == 0);
static_assert(offsetof(VideoFrameBuffer, data_size) == 4);
static_assert(offsetof(VideoFrameBuffer, sequence_number) == 8);
static_assert(offsetof(VideoFrameBuffer, refcount) == 12);

static_assert(sizeof(VideoFrame) == 36);
static_assert(offsetof(VideoFrame, refcount) == 0);
static_assert(offsetof(VideoFrame, vfb) == 4);
static_assert(offsetof(VideoFrame, offset) == 8);
static_assert(offsetof(VideoFrame, pitch) == 12);
static_assert(offsetof(VideoFrame, row_size) == 16);
static_assert(offsetof(VideoFrame, height) == 20);
static_assert(offsetof(VideoFrame, offsetU) == 24);
static_assert(offsetof(VideoFrame, offsetV) == 28);
static_assert(offsetof(VideoFrame, pitchUV) == 32);
#endif

}  // namespace velmire
