#include "avisynthplus/clip_format.h"

#include <cstdio>

#include "core/cross_color.h"

namespace velmire::avisynthplus {

std::optional<SampleFormat> SampleFormatOf(const AVS_VideoInfo& vi) {
  if (avs_is_yuy2(&vi)) return SampleFormat{Layout::kYUY2, 8};
  // The 4:2:0 and 4:2:2 predicates also hold for clips with alpha and for float clips.
  if (!avs_is_planar(&vi) || !avs_is_yuv(&vi) || avs_is_yuva(&vi)) return std::nullopt;
  SampleFormat format;
  if (avs_is_420(&vi)) {
    format.layout = Layout::kPlanar420;
  } else if (avs_is_422(&vi)) {
    format.layout = Layout::kPlanar422;
  } else {
    return std::nullopt;
  }
  format.bitsPerSample = avs_bits_per_component(&vi);
  if (avs_component_size(&vi) != (format.bitsPerSample > 8 ? 2 : 1) ||
      !IsSupportedFormat(format)) {
    return std::nullopt;
  }
  return format;
}

const char* OddSizeRefusal(const AVS_VideoInfo& vi) {
  const bool is420 = avs_is_420(&vi);
  const bool oddWidth = vi.width % 2 != 0;
  if (!oddWidth && !(is420 && vi.height % 2 != 0)) return nullptr;
  // Plain characters: nothing for the thread's exit to destroy.
  thread_local char refusal[192];
  std::snprintf(refusal, sizeof refusal,
                "Velmire : odd %s %d is not supported%s (the %s must be even: crop it, with "
                "ffmpeg -vf crop=%d:%d:0:0)",
                oddWidth ? "width" : "height", oddWidth ? vi.width : vi.height,
                oddWidth ? "" : " for 4:2:0 video", oddWidth ? "width" : "height",
                vi.width / 2 * 2, is420 ? vi.height / 2 * 2 : vi.height);
  return refusal;
}

}  // namespace velmire::avisynthplus
