#include "planar/planar_planes.h"

namespace velmire {

PlanarPlanes ReadPlanes(const VideoFrame& frame) {
  return PlanarPlanes{frame.GetReadPtr(PLANAR_Y), frame.GetReadPtr(PLANAR_U),
                      frame.GetReadPtr(PLANAR_V), frame.GetPitch(PLANAR_Y),
                      frame.GetPitch(PLANAR_U)};
}

PlanarChromaOutput WritableChroma(const VideoFrame& frame) {
  return PlanarChromaOutput{frame.GetWritePtr(PLANAR_U), frame.GetWritePtr(PLANAR_V),
                            frame.GetPitch(PLANAR_U)};
}

PlanarPassPlanes PlanesOf(const PassFrames& frames) {
  return PlanarPassPlanes{
      {ReadPlanes(*frames.previous), ReadPlanes(*frames.source), ReadPlanes(*frames.next)},
      WritableChroma(*frames.output)};
}

}  // namespace velmire
