#include "plugin/frame_views.h"

#include "core/plane_views.h"

namespace velmire {
namespace {

constexpr int kPlanes[3] = {PLANAR_Y, PLANAR_U, PLANAR_V};

}  // namespace

FrameView ViewOf(const VideoFrame& frame, const SampleFormat& format) {
  return ViewFrame(format, [&](int i) {
    return PlaneView{frame.GetReadPtr(kPlanes[i]), frame.GetPitch(kPlanes[i]),
                     frame.GetRowSize(kPlanes[i]), frame.GetHeight(kPlanes[i])};
  });
}

WritableFrameView WritableViewOf(VideoFrame& frame, const SampleFormat& format) {
  return ViewWritableFrame(format, [&](int i) {
    // Planar luma is left alone: asking for its write pointer would count as a write.
    if (i == 0 && format.layout != Layout::kYUY2) return WritablePlaneView{};
    return WritablePlaneView{frame.GetWritePtr(kPlanes[i]), frame.GetPitch(kPlanes[i]),
                             frame.GetRowSize(kPlanes[i]), frame.GetHeight(kPlanes[i])};
  });
}

}  // namespace velmire
