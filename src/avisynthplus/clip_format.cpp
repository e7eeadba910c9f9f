#include "avisynthplus/clip_format.h"

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

}  // namespace velmire::avisynthplus
