#include "fuzz_frames.h"

#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define VELMIRE_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define VELMIRE_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#endif
#endif
#ifndef VELMIRE_POISON
#define VELMIRE_POISON(p, n) ((void)(p), (void)(n))
#define VELMIRE_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace velmire::fuzz {

// A frame's planes live in one buffer, so the planes are laid out one after the other; the
// gap after each row is poisoned, and the buffer ends right after the last row of the last plane.
struct FuzzFrameStore::Entry {
  std::vector<uint8_t> memory;
  VideoFrameBuffer buffer{};
  VideoFrame frame{};
  std::vector<std::pair<size_t, size_t>> poisoned;

  ~Entry() {
    for (const auto& [offset, size] : poisoned) VELMIRE_UNPOISON(memory.data() + offset, size);
  }
};

FuzzFrameStore::FuzzFrameStore() = default;
FuzzFrameStore::~FuzzFrameStore() = default;

PVideoFrame FuzzFrameStore::Make(bool planar, int rowSize, int height, int extraPitch,
                                 const uint8_t* pixels, size_t pixelCount, size_t& cursor) {
  auto entry = std::make_unique<Entry>();
  std::vector<PlaneSpec> planes{{rowSize, height, rowSize + extraPitch}};
  if (planar) {
    const PlaneSpec chroma{rowSize >> 1, height >> 1, (rowSize >> 1) + extraPitch / 2};
    planes.push_back(chroma);
    planes.push_back(chroma);
  }
  std::vector<size_t> offsets;
  size_t size = 0;
  for (const PlaneSpec& p : planes) {
    offsets.push_back(size);
    if (p.height > 0) size += static_cast<size_t>(p.pitch) * static_cast<size_t>(p.height - 1) +
                              static_cast<size_t>(p.rowSize);
  }
  entry->memory.resize(size + 1);  // never empty
  for (size_t i = 0; i < planes.size(); ++i) {
    const PlaneSpec& p = planes[i];
    for (int y = 0; y < p.height; ++y) {
      uint8_t* row = entry->memory.data() + offsets[i] + static_cast<size_t>(y) * p.pitch;
      for (int x = 0; x < p.rowSize; ++x)
        row[x] = pixelCount ? pixels[cursor++ % pixelCount] : static_cast<uint8_t>(x * 7 + y);
      if (y + 1 < p.height && p.pitch > p.rowSize) {
        const size_t gap = static_cast<size_t>(p.pitch - p.rowSize);
        VELMIRE_POISON(row + p.rowSize, gap);
        entry->poisoned.emplace_back(static_cast<size_t>(row + p.rowSize - entry->memory.data()), gap);
      }
    }
  }
  entry->buffer.data = entry->memory.data();
  entry->buffer.data_size = static_cast<int>(size);
  entry->buffer.refcount = 1;
  VideoFrame& f = entry->frame;
  f.refcount = 0;
  f.vfb = &entry->buffer;
  f.offset = 0;
  f.pitch = planes[0].pitch;
  f.row_size = rowSize;
  f.height = height;
  f.pitchUV = planar ? planes[1].pitch : 0;
  f.offsetU = planar ? static_cast<int>(offsets[1]) : 0;
  f.offsetV = planar ? static_cast<int>(offsets[2]) : 0;
  PVideoFrame handle(&f);
  entries_.push_back(std::move(entry));
  return handle;
}

}  // namespace velmire::fuzz
