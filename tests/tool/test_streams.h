// Test streams: small demo clips as YUV4MPEG2 bytes, and parsing of the tool's output.
#pragma once

#include <string>
#include <vector>

#include "lab/clips/demo_clip.h"
#include "tool/y4m/memory_stream.h"
#include "tool/y4m/y4m_reader.h"

namespace velmire::cli::testing {

// A clip with cross-colour on fine detail, in the given layout.
inline std::string DemoStream(ChromaLayout layout, int width, int height, int frames) {
  const lab::DemoSpec demo{width, height, frames};
  std::string stream = lab::DemoHeaderLine(demo, layout) + "\n";
  for (int t = 0; t < frames; ++t) {
    const lab::DemoFrames f = lab::RenderDemoFrames(demo, t);
    const std::vector<std::uint8_t>& data =
        layout == ChromaLayout::k422 ? f.yuv422.decoded : f.yuv420.decoded;
    stream += "FRAME\n";
    stream.append(data.begin(), data.end());
  }
  return stream;
}

struct ParsedStream {
  std::string header;
  std::vector<Y4mFrame> frames;
};

// Reads a whole stream; throws InputError if it is not valid.
inline ParsedStream ParseStream(const std::string& bytes) {
  StringSource source(bytes);
  Y4mReader reader(source);
  ParsedStream parsed{reader.header().line, {}};
  Y4mFrame frame;
  while (reader.ReadFrame(frame)) parsed.frames.push_back(frame);
  return parsed;
}

// The luma plane of a frame.
inline std::string Luma(const Y4mFrame& frame, int width, int height) {
  return std::string(frame.data.begin(), frame.data.begin() + long(width) * height);
}

}  // namespace velmire::cli::testing

namespace velmire::cli::testing {

// A stream of plain patterned frames, quick to make in any size.
inline std::string PatternStream(const std::string& header, std::size_t frame_bytes, int frames) {
  std::string stream = header + "\n";
  for (int t = 0; t < frames; ++t) {
    stream += "FRAME\n";
    for (std::size_t i = 0; i < frame_bytes; ++i) {
      stream += static_cast<char>((i * 7 + i / 13 * 5 + std::size_t(t) * 3) & 0xff);
    }
  }
  return stream;
}

}  // namespace velmire::cli::testing
