// YUV4MPEG2 writer: the header line and each FRAME line are written exactly as given, so the
// output repeats the input's lines unchanged.
#pragma once

#include "tool/y4m/byte_stream.h"
#include "tool/y4m/y4m_frame.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::cli {

class Y4mWriter {
 public:
  Y4mWriter(ByteSink& sink, const Y4mHeader& header) : sink_(sink), header_(header) {}

  void WriteHeader();
  // The frame's data must hold exactly one frame of the header's geometry.
  void WriteFrame(const Y4mFrame& frame);

 private:
  ByteSink& sink_;
  Y4mHeader header_;
};

}  // namespace velmire::cli
