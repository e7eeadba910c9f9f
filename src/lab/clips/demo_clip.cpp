#include "lab/clips/demo_clip.h"

#include <algorithm>

#include "lab/clips/chroma_subsampling.h"
#include "lab/clips/composite_model.h"
#include "lab/clips/demo_scene.h"
#include "lab/clips/detail_mask.h"
#include "lab/clips/float_plane.h"

namespace velmire::lab {
namespace {

struct DecodedPicture {
  FloatPlane y, u, v, clean_u, clean_v;
};

DecodedPicture PassThroughComposite(const YuvImage& scene, VideoStandard standard,
                                    int frame_index, float noise_sigma) {
  const int w = scene.y.width, h = scene.y.height;
  const CompositeModel model(w, standard, noise_sigma);
  DecodedPicture out{FloatPlane(w, h), FloatPlane(w, h), FloatPlane(w, h), FloatPlane(w, h),
                     FloatPlane(w, h)};
  for (int row = 0; row < h; ++row) {
    const DecodedLine line = model.EncodeDecode(scene.y.row(row), scene.u.row(row),
                                                scene.v.row(row), row, frame_index);
    std::copy(line.y.begin(), line.y.end(), out.y.row(row));
    std::copy(line.u.begin(), line.u.end(), out.u.row(row));
    std::copy(line.v.begin(), line.v.end(), out.v.row(row));
    std::copy(line.clean_u.begin(), line.clean_u.end(), out.clean_u.row(row));
    std::copy(line.clean_v.begin(), line.clean_v.end(), out.clean_v.row(row));
  }
  return out;
}

DemoFrame MakeVariant(const DecodedPicture& pic, const std::vector<std::uint8_t>& detail,
                      ChromaLayout layout) {
  const FrameGeometry g = MakeFrameGeometry(layout, pic.y.width, pic.y.height);
  DemoFrame frame;
  frame.decoded.resize(g.frame_bytes());
  frame.clean.resize(g.frame_bytes());
  QuantiseFrame(pic.y, pic.u, pic.v, layout, frame.decoded.data());
  QuantiseFrame(pic.y, pic.clean_u, pic.clean_v, layout, frame.clean.data());
  frame.detail_mask = SubsampleMask(detail, g.width, g.height, layout);
  return frame;
}

}  // namespace

DemoFrames EncodeDemoFrames(const YuvImage& scene, VideoStandard standard, int index,
                            float noise_sigma) {
  const DecodedPicture pic = PassThroughComposite(scene, standard, index, noise_sigma);
  const std::vector<std::uint8_t> detail = FindDetailedAreas(scene.y);
  return DemoFrames{MakeVariant(pic, detail, ChromaLayout::k422),
                    MakeVariant(pic, detail, ChromaLayout::k420)};
}

DemoFrames RenderDemoFrames(const DemoSpec& demo, int index) {
  return EncodeDemoFrames(RenderDemoScene(demo.width, demo.height, index), demo.standard, index);
}

std::string DemoHeaderLine(const DemoSpec& demo, ChromaLayout layout) {
  return "YUV4MPEG2 W" + std::to_string(demo.width) + " H" + std::to_string(demo.height) + " " +
         Y4mTimingTags(demo.standard) + " " +
         (layout == ChromaLayout::k422 ? "C422" : "C420mpeg2") + " XCOLORRANGE=LIMITED";
}

}  // namespace velmire::lab
