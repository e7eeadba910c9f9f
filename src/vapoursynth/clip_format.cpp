#include "vapoursynth/clip_format.h"

#include "core/clip_format.h"

namespace velmire::vapoursynth {
namespace {

constexpr const char* kAccepted =
    "accepted are YUV420P8 to YUV420P16 and YUV422P8 to YUV422P16 "
    "(integer YUV 4:2:0 and 4:2:2, 8 to 16 bits, constant format and size)";

bool IsVariableFormat(const VSVideoInfo& vi) { return vi.format.colorFamily == cfUndefined; }
bool IsVariableSize(const VSVideoInfo& vi) { return vi.width == 0 || vi.height == 0; }

}  // namespace

std::optional<SampleFormat> SampleFormatOf(const VSVideoInfo& vi) {
  const VSVideoFormat& f = vi.format;
  if (IsVariableFormat(vi) || IsVariableSize(vi)) return std::nullopt;
  ClipFormatDescription clip;
  clip.planarYUV = f.colorFamily == cfYUV && f.sampleType == stInteger;
  clip.subsamplingW = f.subSamplingW;
  clip.subsamplingH = f.subSamplingH;
  clip.bitsPerSample = f.bitsPerSample;
  clip.bytesPerSample = f.bytesPerSample;
  return velmire::SampleFormatOf(clip);
}

std::string FormatRefusal(const VSVideoInfo& vi, const VSAPI& vsapi) {
  std::string refusal;
  if (IsVariableFormat(vi)) {
    refusal = "clips of variable format are not supported";
  } else {
    char name[32] = "unknown";
    vsapi.getVideoFormatName(&vi.format, name);
    refusal = IsVariableSize(vi)
                  ? std::string("clips of variable size are not supported (format ") + name + ")"
                  : std::string("the clip's format ") + name + " is not supported";
  }
  return "Velmire: " + refusal + "; " + kAccepted;
}

}  // namespace velmire::vapoursynth
