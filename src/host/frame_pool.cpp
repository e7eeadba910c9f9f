#include "host/frame_pool.h"

#include <algorithm>
#include <new>

#include "host/host_error.h"

namespace velmire::host {
namespace {

// Idle frames kept for reuse; more are freed.
constexpr size_t kIdleReserve = 8;
constexpr int kMaxAlign = 4096;

size_t AlignUp(size_t value, size_t align) { return (value + align - 1) / align * align; }

}  // namespace

struct FramePool::Record {
  VideoFrame frame{};
  VideoFrameBuffer buffer{};
  uint8_t* memory = nullptr;
  size_t size = 0;

  ~Record() { ::operator delete[](memory, std::align_val_t(64)); }
};

FramePool::FramePool() = default;
FramePool::~FramePool() = default;

bool FramePool::IsIdle(const Record& record) {
  return InterlockedRead32(record.frame.refcount) == 0 &&
         InterlockedRead32(record.buffer.refcount) == 0;
}

FrameGeometry GeometryOf(const VideoInfo& vi, int align) {
  FrameGeometry g;
  g.align = align;
  g.height = vi.height;
  g.planar = vi.IsPlanar420();
  g.vFirst = vi.IsYV12();
  if (vi.IsYUY2()) {
    g.rowSize = vi.width * 2;
  } else if (vi.pixel_type == VideoInfo::CS_BGR24) {
    g.rowSize = vi.width * 3;
  } else if (vi.pixel_type == VideoInfo::CS_BGR32) {
    g.rowSize = vi.width * 4;
  } else {
    g.rowSize = vi.width;
  }
  return g;
}

FrameGeometry GeometryOf(const VideoFrame& frame) {
  FrameGeometry g;
  g.rowSize = frame.row_size;
  g.height = frame.height;
  g.planar = frame.pitchUV != 0;
  g.vFirst = frame.offsetV < frame.offsetU;
  return g;
}

void FramePool::Lay(Record& record, const FrameGeometry& geometry, int pitch, int pitchUV) {
  const int chromaHeight = geometry.height >> 1;
  const int lumaBytes = pitch * geometry.height;
  const int chromaBytes = pitchUV * chromaHeight;
  VideoFrame& f = record.frame;
  f.refcount = 1;
  f.vfb = &record.buffer;
  f.offset = 0;
  f.pitch = pitch;
  f.row_size = geometry.rowSize;
  f.height = geometry.height;
  f.pitchUV = pitchUV;
  f.offsetU = f.offsetV = 0;
  if (geometry.planar) {
    f.offsetV = geometry.vFirst ? lumaBytes : lumaBytes + chromaBytes;
    f.offsetU = geometry.vFirst ? lumaBytes + chromaBytes : lumaBytes;
  }
  record.buffer.data = record.memory;
  record.buffer.data_size = static_cast<int>(record.size);
  record.buffer.refcount = 1;
}

PVideoFrame FramePool::Allocate(const FrameGeometry& geometry) {
  const int align = std::clamp(geometry.align, 1, kMaxAlign);
  if (geometry.rowSize <= 0 || geometry.height <= 0 || geometry.rowSize > (1 << 20) ||
      geometry.height > (1 << 20))
    throw HostError("frame of " + std::to_string(geometry.rowSize) + " bytes by " +
                    std::to_string(geometry.height) + " rows cannot be allocated");
  const size_t pitch = AlignUp(static_cast<size_t>(geometry.rowSize), static_cast<size_t>(align));
  const size_t pitchUV =
      geometry.planar ? AlignUp(static_cast<size_t>(geometry.rowSize >> 1), static_cast<size_t>(align))
                      : 0;
  const size_t size = pitch * static_cast<size_t>(geometry.height) +
                      2 * pitchUV * static_cast<size_t>(geometry.height >> 1);
  if (size > static_cast<size_t>(1) << 30)
    throw HostError("frame of " + std::to_string(size) + " bytes exceeds the 1 GiB limit");

  std::lock_guard lock(mutex_);
  Record* chosen = nullptr;
  size_t idle = 0;
  for (auto it = records_.begin(); it != records_.end();) {
    if (!IsIdle(**it)) {
      ++it;
      continue;
    }
    if (!chosen && (*it)->size == size) {
      chosen = it->get();
      ++it;
    } else if (++idle > kIdleReserve) {
      totalBytes_ -= (*it)->size;
      it = records_.erase(it);
    } else {
      ++it;
    }
  }
  if (!chosen) {
    auto record = std::make_unique<Record>();
    record->memory = static_cast<uint8_t*>(
        ::operator new[](size, std::align_val_t(64), std::nothrow));
    if (!record->memory)
      throw HostError("out of memory for a frame of " + std::to_string(size) + " bytes");
    record->size = size;
    record->buffer.sequence_number = 0;
    chosen = record.get();
    records_.push_back(std::move(record));
    totalBytes_ += size;
  } else {
    InterlockedIncrement32(chosen->buffer.sequence_number);
  }
  Lay(*chosen, geometry, static_cast<int>(pitch), static_cast<int>(pitchUV));
  return PVideoFrame::Adopt(&chosen->frame);
}

size_t FramePool::LiveFrames() const {
  std::lock_guard lock(mutex_);
  return static_cast<size_t>(std::count_if(records_.begin(), records_.end(), [](const auto& r) {
    return InterlockedRead32(r->frame.refcount) > 0;
  }));
}

size_t FramePool::TotalFrames() const {
  std::lock_guard lock(mutex_);
  return records_.size();
}

size_t FramePool::TotalBytes() const {
  std::lock_guard lock(mutex_);
  return totalBytes_;
}

}  // namespace velmire::host
