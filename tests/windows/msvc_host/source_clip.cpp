#include "source_clip.h"

#include "../host_cases.h"
#include "checks.h"

namespace msvc {
namespace {

// Visits every byte of the frame's planes with its plane, column and row.
template <typename Visit>
bool EachByte(const VideoFrame& frame, Visit visit) {
  const int planes[] = {PLANAR_Y, PLANAR_U, PLANAR_V};
  for (const int plane : planes) {
    if (plane != PLANAR_Y && !frame.pitchUV) break;
    unsigned char* base = const_cast<unsigned char*>(frame.GetReadPtr(plane));
    for (int y = 0; y < frame.GetHeight(plane); ++y)
      for (int x = 0; x < frame.GetRowSize(plane); ++x)
        if (!visit(base[y * frame.GetPitch(plane) + x], plane, x, y)) return false;
  }
  return true;
}

}  // namespace

int SourceClip::live_ = 0;

SourceClip::SourceClip(const VideoInfo& vi, FrameStore& store) : vi_(vi) {
  ++live_;
  Check(vi.num_frames > 0 && vi.num_frames <= kMaxFrames, "source clip of %d frames", vi.num_frames);
  for (int i = 0; i < vi.num_frames; ++i) {
    frames_[i] = store.Allocate(vi.BytesPerRow(), vi.height, vi.IsPlanar());
    EachByte(*frames_[i].get(), [&](unsigned char& byte, int plane, int x, int y) {
      byte = velmire_cases::PatternByte(vi.pixel_type, i, plane, x, y);
      return true;
    });
  }
}

SourceClip::~SourceClip() { --live_; }

PVideoFrame SourceClip::GetFrame(int n, IScriptEnvironment*) {
  if (n < lowest_) lowest_ = n;
  if (n > highest_) highest_ = n;
  const int nearest = n < 0 ? 0 : n >= vi_.num_frames ? vi_.num_frames - 1 : n;
  return frames_[nearest];
}

bool SourceClip::GetParity(int) { return (vi_.image_type & 2) != 0; }

void SourceClip::GetAudio(void*, __int64 start, __int64 count, IScriptEnvironment*) {
  audioStart_ = start;
  audioCount_ = count;
}

bool SourceClip::FramesIntact() const {
  for (int i = 0; i < vi_.num_frames; ++i) {
    const bool intact = EachByte(*frames_[i].get(), [&](unsigned char& byte, int plane, int x, int y) {
      return byte == velmire_cases::PatternByte(vi_.pixel_type, i, plane, x, y);
    }) && FrameStore::PaddingIntact(*frames_[i].get());
    if (!intact) return false;
  }
  return true;
}

}  // namespace msvc
