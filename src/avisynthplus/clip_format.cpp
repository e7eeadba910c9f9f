#include "avisynthplus/clip_format.h"

#include <cstdio>

#include "core/clip_format.h"

namespace velmire::avisynthplus {

std::optional<SampleFormat> SampleFormatOf(const AVS_VideoInfo& vi) {
  ClipFormatDescription clip;
  clip.packedYUY2 = avs_is_yuy2(&vi);
  // The 4:2:0 and 4:2:2 predicates also hold for clips with alpha and for float clips (whose
  // four-byte samples the mapping refuses).
  clip.planarYUV = avs_is_planar(&vi) && avs_is_yuv(&vi) && !avs_is_yuva(&vi);
  clip.subsamplingW = avs_is_420(&vi) || avs_is_422(&vi) ? 1 : 0;
  clip.subsamplingH = avs_is_420(&vi) ? 1 : 0;
  clip.bitsPerSample = avs_bits_per_component(&vi);
  clip.bytesPerSample = avs_component_size(&vi);
  return velmire::SampleFormatOf(clip);
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
