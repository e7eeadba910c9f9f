// A host's frames as the core's views: the planes a format has, gathered from a host's own
// accessors, and the row-by-row copy every front-end makes of the planes it writes.
#pragma once

#include "base/frame_view.h"

namespace velmire {

// How many planes a frame of `format` has: 1 for YUY2, 3 for the planar layouts.
constexpr int PlaneCount(const SampleFormat& format) {
  return format.layout == Layout::kYUY2 ? 1 : 3;
}

// The frame whose plane i is `planeAt(i)`, for each plane the format has: 0 is luma (the
// packed plane of YUY2), 1 is U and 2 is V. Planes the format lacks stay empty.
template <typename View, typename PlaneAt>
View GatherPlanes(const SampleFormat& format, PlaneAt&& planeAt) {
  View frame;
  decltype(frame.y)* const planes[3] = {&frame.y, &frame.u, &frame.v};
  for (int i = 0; i < PlaneCount(format); ++i) *planes[i] = planeAt(i);
  return frame;
}

template <typename PlaneAt>
FrameView ViewFrame(const SampleFormat& format, PlaneAt&& planeAt) {
  return GatherPlanes<FrameView>(format, planeAt);
}

template <typename PlaneAt>
WritableFrameView ViewWritableFrame(const SampleFormat& format, PlaneAt&& planeAt) {
  return GatherPlanes<WritableFrameView>(format, planeAt);
}

// Copies `from` into the rows of `to` (from.rowSize bytes of each of from.height rows) and
// returns `to` with from's row size and height.
WritablePlaneView CopyPlane(const PlaneView& from, WritablePlaneView to);

}  // namespace velmire
