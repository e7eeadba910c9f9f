#include "frame_compare.h"

#include "checks.h"

namespace msvc {
namespace {

int PlaneCount(const VideoFrame& frame) { return frame.pitchUV ? 3 : 1; }

int PlaneAt(int index) {
  const int planes[] = {PLANAR_Y, PLANAR_U, PLANAR_V};
  return planes[index];
}

}  // namespace

void CheckFrameBytes(const VideoFrame& frame, const unsigned char* expected, unsigned size,
                     const char* what) {
  unsigned total = 0;
  for (int i = 0; i < PlaneCount(frame); ++i)
    total += frame.GetRowSize(PlaneAt(i)) * frame.GetHeight(PlaneAt(i));
  if (total != size) {
    Check(false, "%s: %u bytes, the Linux build gave %u", what, total, size);
    return;
  }
  for (int i = 0; i < PlaneCount(frame); ++i) {
    const int plane = PlaneAt(i);
    const unsigned char* row = frame.GetReadPtr(plane);
    for (int y = 0; y < frame.GetHeight(plane); ++y, row += frame.GetPitch(plane)) {
      for (int x = 0; x < frame.GetRowSize(plane); ++x, ++expected) {
        if (row[x] != *expected) {
          Check(false, "%s: plane %d byte %d of row %d is %d, the Linux build gave %d", what,
                plane, x, y, row[x], *expected);
          return;
        }
      }
    }
  }
  Check(true, "");
}

int ChangedChromaBytes(const VideoFrame& a, const VideoFrame& b, bool yuy2) {
  int changed = 0;
  for (int i = yuy2 ? 0 : 1; i < PlaneCount(a); ++i) {
    const int plane = PlaneAt(i);
    for (int y = 0; y < a.GetHeight(plane); ++y) {
      const unsigned char* rowA = a.GetReadPtr(plane) + y * a.GetPitch(plane);
      const unsigned char* rowB = b.GetReadPtr(plane) + y * b.GetPitch(plane);
      for (int x = yuy2 ? 1 : 0; x < a.GetRowSize(plane); x += yuy2 ? 2 : 1)
        if (rowA[x] != rowB[x]) ++changed;
    }
  }
  return changed;
}

}  // namespace msvc
