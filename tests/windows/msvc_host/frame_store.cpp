#include "frame_store.h"

#include "checks.h"

namespace msvc {
namespace {

// One allocation holds the frame record, the buffer record and the pixels.
struct Block {
  VideoFrame frame;
  VideoFrameBuffer buffer;
};

int PitchFor(int rowSize) { return ((rowSize + 15) & ~15) + 32; }

bool RowTailsIntact(const unsigned char* plane, int pitch, int rowSize, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = rowSize; x < pitch; ++x)
      if (plane[y * pitch + x] != FrameStore::kPaddingMarker) return false;
  return true;
}

}  // namespace

FrameStore::~FrameStore() {
  for (int i = 0; i < count_; ++i) free(frames_[i]);
}

VideoFrame* FrameStore::Allocate(int rowSize, int height, bool planar) {
  if (count_ == kCapacity) {
    Check(false, "the test host ran out of frame records");
    exit(3);
  }
  const int pitch = PitchFor(rowSize);
  const int pitchUV = planar ? pitch / 2 : 0;
  const int lumaSize = pitch * height;
  const int chromaSize = pitchUV * (height / 2);
  const int dataSize = lumaSize + 2 * chromaSize;
  Block* block = static_cast<Block*>(malloc(sizeof(Block) + dataSize + 16));
  unsigned char* pixels = reinterpret_cast<unsigned char*>(block + 1);
  pixels += (16 - reinterpret_cast<unsigned>(pixels) % 16) % 16;
  memset(pixels, kPaddingMarker, dataSize);

  block->buffer.data = pixels;
  block->buffer.data_size = dataSize;
  block->buffer.sequence_number = 0;
  block->buffer.refcount = 1;
  VideoFrame& frame = block->frame;
  frame.refcount = 0;
  frame.vfb = &block->buffer;
  frame.offset = 0;
  frame.pitch = pitch;
  frame.row_size = rowSize;
  frame.height = height;
  frame.offsetV = planar ? lumaSize : 0;
  frame.offsetU = planar ? lumaSize + chromaSize : 0;
  frame.pitchUV = pitchUV;
  frames_[count_++] = &frame;
  return &frame;
}

int FrameStore::Held() const {
  int held = 0;
  for (int i = 0; i < count_; ++i)
    if (frames_[i]->refcount != 0 || frames_[i]->vfb->refcount != 0) ++held;
  return held;
}

bool FrameStore::PaddingIntact(const VideoFrame& frame) {
  bool intact = RowTailsIntact(frame.GetReadPtr(), frame.pitch, frame.row_size, frame.height);
  if (frame.pitchUV) {
    const int chromaPlanes[] = {PLANAR_U, PLANAR_V};
    for (const int plane : chromaPlanes)
      intact = intact && RowTailsIntact(frame.GetReadPtr(plane), frame.pitchUV,
                                        frame.GetRowSize(plane), frame.GetHeight(plane));
  }
  return intact;
}

}  // namespace msvc
