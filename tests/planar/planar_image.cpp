#include "planar_image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/memory_clip.h"
#include "host/script_environment.h"

namespace velmire::test {
namespace {

void CopyPlaneIn(const std::vector<uint8_t>& plane, int width, int height, uint8_t* dst,
                 int pitch) {
  for (int r = 0; r < height; ++r)
    std::memcpy(dst + static_cast<ptrdiff_t>(r) * pitch,
                plane.data() + static_cast<size_t>(r) * width, static_cast<size_t>(width));
}

void CopyPlaneOut(const uint8_t* src, int pitch, int width, int height,
                  std::vector<uint8_t>& plane) {
  for (int r = 0; r < height; ++r)
    std::memcpy(plane.data() + static_cast<size_t>(r) * width,
                src + static_cast<ptrdiff_t>(r) * pitch, static_cast<size_t>(width));
}

VideoInfo PlanarInfo(const PlanarImage& image, int pixelType) {
  VideoInfo vi;
  vi.width = image.width;
  vi.height = image.height;
  vi.pixel_type = pixelType;
  vi.fps_numerator = 25;
  vi.num_frames = 3;
  return vi;
}

PVideoFrame MakeFrame(IScriptEnvironment& env, const PlanarImage& image, int pixelType,
                      int align) {
  PVideoFrame frame = env.NewVideoFrame(PlanarInfo(image, pixelType), align);
  const int cw = image.ChromaWidth();
  const int ch = image.ChromaHeight();
  CopyPlaneIn(image.y, image.width, image.height, frame->GetWritePtr(PLANAR_Y), frame->GetPitch());
  CopyPlaneIn(image.u, cw, ch, frame->GetWritePtr(PLANAR_U), frame->GetPitch(PLANAR_U));
  CopyPlaneIn(image.v, cw, ch, frame->GetWritePtr(PLANAR_V), frame->GetPitch(PLANAR_V));
  return frame;
}

PlanarImage ReadFrame(const VideoFrame& frame) {
  PlanarImage image(frame.GetRowSize(), frame.GetHeight());
  const int cw = image.ChromaWidth();
  const int ch = image.ChromaHeight();
  CopyPlaneOut(frame.GetReadPtr(PLANAR_Y), frame.GetPitch(), image.width, image.height, image.y);
  CopyPlaneOut(frame.GetReadPtr(PLANAR_U), frame.GetPitch(PLANAR_U), cw, ch, image.u);
  CopyPlaneOut(frame.GetReadPtr(PLANAR_V), frame.GetPitch(PLANAR_V), cw, ch, image.v);
  return image;
}

}  // namespace

PlanarImage::PlanarImage(int lumaWidth, int lumaHeight)
    : width(lumaWidth),
      height(lumaHeight),
      y(static_cast<size_t>(lumaWidth) * lumaHeight),
      u(static_cast<size_t>(lumaWidth >> 1) * (lumaHeight >> 1)),
      v(u.size()) {}

size_t PlanarImage::Index(int row, int column, int rowWidth) {
  return static_cast<size_t>(row) * static_cast<size_t>(rowWidth) + static_cast<size_t>(column);
}

std::string FirstDifference(const PlanarImage& actual, const PlanarImage& expected) {
  if (actual.width != expected.width || actual.height != expected.height) return "sizes differ";
  const struct {
    const char* name;
    const std::vector<uint8_t>& a;
    const std::vector<uint8_t>& e;
    int width;
  } planes[] = {{"Y", actual.y, expected.y, actual.width},
                {"U", actual.u, expected.u, actual.ChromaWidth()},
                {"V", actual.v, expected.v, actual.ChromaWidth()}};
  for (const auto& plane : planes) {
    for (size_t i = 0; i < plane.a.size(); ++i) {
      if (plane.a[i] == plane.e[i]) continue;
      const size_t w = static_cast<size_t>(plane.width);
      return std::string(plane.name) + " row " + std::to_string(i / w) + " column " +
             std::to_string(i % w) + ": " + std::to_string(plane.a[i]) + ", expected " +
             std::to_string(plane.e[i]);
    }
  }
  return "";
}

PlanarImage RandomImage(int lumaWidth, int lumaHeight, std::mt19937& random) {
  PlanarImage image(lumaWidth, lumaHeight);
  std::uniform_int_distribution<int> sample(0, 255);
  for (auto* plane : {&image.y, &image.u, &image.v})
    for (uint8_t& s : *plane) s = static_cast<uint8_t>(sample(random));
  return image;
}

PlanarImage RunPlanarFilter(const PlanarImage& previous, const PlanarImage& current,
                            const PlanarImage& next, const FilterSettings& settings,
                            const RunOptions& options) {
  host::ScriptEnvironment env;
  PlanarImage result;
  {
    const int previousAlign = options.neighbourAligns.empty() ? options.align
                                                              : options.neighbourAligns.at(0);
    const int nextAlign = options.neighbourAligns.empty() ? options.align
                                                          : options.neighbourAligns.at(1);
    std::vector<PVideoFrame> frames{MakeFrame(env, previous, options.pixelType, previousAlign),
                                    MakeFrame(env, current, options.pixelType, options.align),
                                    MakeFrame(env, next, options.pixelType, nextAlign)};
    PClip clip(new host::MemoryClip(PlanarInfo(current, options.pixelType), std::move(frames)));
    const KernelSet& kernels = options.kernels ? *options.kernels : BestKernels();
    PClip filter(new CrossColorFilter(clip, settings.ThresholdY, settings.Noise, settings.Margin,
                                      settings.Debug, &env, kernels));
    const PVideoFrame output = filter->GetFrame(1, &env);
    result = ReadFrame(*output);
  }
  EXPECT_EQ(env.frames().LiveFrames(), 0u) << "a frame outlived the filter and its handles";
  return result;
}

}  // namespace velmire::test
