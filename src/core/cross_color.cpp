#include "core/cross_color.h"

#include <memory>

#include "core/kernel_table.h"

namespace velmire {
namespace {

bool SamePlaneSize(const PlaneView& a, const PlaneView& b) {
  return a.rowSize == b.rowSize && a.height == b.height;
}

// One row's edge mask, zero-filled; std::bad_alloc when memory runs out.
std::unique_ptr<uint8_t[]> MaskRow(int bytes) {
  return std::unique_ptr<uint8_t[]>(new uint8_t[bytes > 0 ? bytes : 1]());
}

}  // namespace

bool IsSupportedFormat(const SampleFormat& format) {
  switch (format.layout) {
    case Layout::kYUY2:
      return format.bitsPerSample == 8;
    case Layout::kPlanar420:
    case Layout::kPlanar422:
      return format.bitsPerSample >= 8 && format.bitsPerSample <= 16;
  }
  return false;
}

bool SameGeometry(const SampleFormat& format, const FrameView& a, const FrameView& b) {
  if (!SamePlaneSize(a.y, b.y)) return false;
  return format.layout == Layout::kYUY2 || (SamePlaneSize(a.u, b.u) && SamePlaneSize(a.v, b.v));
}

void ReduceCrossColor(const SampleFormat& format, const Settings& settings,
                      const KernelSet& kernels, const FrameView& previous,
                      const FrameView& current, const FrameView& next,
                      const WritableFrameView& output, const OuterFrames* outer) {
  if (settings.Mode != 1) outer = nullptr;
  if (format.layout == Layout::kYUY2) {
    const auto mask = MaskRow(current.y.rowSize);
    ReduceCrossColorYUY2(settings, kernels.Yuy2(), previous.y, current.y, next.y, output.y,
                         mask.get(), outer);
    return;
  }
  const auto mask = MaskRow(current.u.rowSize);
  if (format.bitsPerSample == 8) {
    ReduceCrossColorPlanar(format, settings, kernels.Planar(), previous, current, next, output,
                           mask.get(), outer);
  } else {
    ReduceCrossColorPlanar(format, settings, kernels.Planar16(), previous, current, next, output,
                           mask.get(), outer);
  }
}

}  // namespace velmire
