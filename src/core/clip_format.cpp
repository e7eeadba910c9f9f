#include "core/clip_format.h"

#include "core/cross_color.h"

namespace velmire {

std::optional<SampleFormat> SampleFormatOf(const ClipFormatDescription& clip) {
  if (clip.packedYUY2) return SampleFormat{Layout::kYUY2, 8};
  if (!clip.planarYUV || clip.subsamplingW != 1) return std::nullopt;
  SampleFormat format;
  if (clip.subsamplingH == 1) {
    format.layout = Layout::kPlanar420;
  } else if (clip.subsamplingH == 0) {
    format.layout = Layout::kPlanar422;
  } else {
    return std::nullopt;
  }
  format.bitsPerSample = clip.bitsPerSample;
  if (clip.bytesPerSample != (clip.bitsPerSample > 8 ? 2 : 1) || !IsSupportedFormat(format)) {
    return std::nullopt;
  }
  return format;
}

}  // namespace velmire
