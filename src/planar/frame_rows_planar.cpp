#include "planar/frame_rows_planar.h"

namespace velmire {
namespace {

FrameRowsPlanar ReadPlanes(const FrameView& frame) {
  return FrameRowsPlanar{frame.y.data,  frame.u.data,  frame.v.data,
                      frame.y.pitch, frame.u.pitch, frame.v.pitch};
}

}  // namespace

InputFramesPlanar InputFramesPlanarOf(const FrameView& previous, const FrameView& current,
                                      const FrameView& next, const WritableFrameView& output,
                                      const OuterFrames* outer) {
  InputFramesPlanar frames{{ReadPlanes(previous), ReadPlanes(current), ReadPlanes(next)},
                           {output.u.data, output.v.data, output.u.pitch, output.v.pitch},
                           std::nullopt};
  if (outer) frames.outer = {ReadPlanes(outer->before), ReadPlanes(outer->after)};
  return frames;
}

}  // namespace velmire
