// Which clips the filter takes, from what any frame server says of a clip's colour format: the
// one mapping from a host's format description to the core's SampleFormat.
#pragma once

#include <optional>

#include "base/frame_view.h"

namespace velmire {

// A clip's format in the terms every frame server offers.
struct ClipFormatDescription {
  bool packedYUY2 = false;  // one plane of Y0 U Y1 V bytes
  bool planarYUV = false;   // separate Y, U and V planes of integer samples, no alpha plane
  int subsamplingW = 0;     // log2 of the chroma subsampling across
  int subsamplingH = 0;     // log2 of the chroma subsampling down
  int bitsPerSample = 8;
  int bytesPerSample = 1;
};

// The core's format for such clips, or nothing when the filter does not take them: YUY2, and
// planar YUV 4:2:0 or 4:2:2 of 8 to 16 bits held in one byte (8 bits) or two.
std::optional<SampleFormat> SampleFormatOf(const ClipFormatDescription& clip);

}  // namespace velmire
