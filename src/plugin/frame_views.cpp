#include "plugin/frame_views.h"

namespace velmire {
namespace {

PlaneView ReadPlane(const VideoFrame& frame, int plane) {
  return PlaneView{frame.GetReadPtr(plane), frame.GetPitch(plane), frame.GetRowSize(plane),
                   frame.GetHeight(plane)};
}

WritablePlaneView WritePlane(VideoFrame& frame, int plane) {
  return WritablePlaneView{frame.GetWritePtr(plane), frame.GetPitch(plane),
                           frame.GetRowSize(plane), frame.GetHeight(plane)};
}

}  // namespace

FrameView ViewOf(const VideoFrame& frame, bool planar) {
  if (!planar) return FrameView{ReadPlane(frame, PLANAR_Y), {}, {}};
  return FrameView{ReadPlane(frame, PLANAR_Y), ReadPlane(frame, PLANAR_U),
                   ReadPlane(frame, PLANAR_V)};
}

WritableFrameView WritableViewOf(VideoFrame& frame, bool planar) {
  if (!planar) return WritableFrameView{WritePlane(frame, PLANAR_Y), {}, {}};
  return WritableFrameView{{}, WritePlane(frame, PLANAR_U), WritePlane(frame, PLANAR_V)};
}

}  // namespace velmire
