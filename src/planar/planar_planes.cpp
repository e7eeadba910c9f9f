#include "planar/planar_planes.h"

namespace velmire {
namespace {

PlanarPlanes ReadPlanes(const FrameView& frame) {
  return PlanarPlanes{frame.y.data,  frame.u.data,  frame.v.data,
                      frame.y.pitch, frame.u.pitch, frame.v.pitch};
}

}  // namespace

PlanarPassPlanes PlanesOf(const FrameView& previous, const FrameView& current,
                          const FrameView& next, const WritableFrameView& output) {
  return PlanarPassPlanes{{ReadPlanes(previous), ReadPlanes(current), ReadPlanes(next)},
                          {output.u.data, output.v.data, output.u.pitch, output.v.pitch}};
}

}  // namespace velmire
