#include "tool/y4m/y4m_writer.h"

#include <stdexcept>
#include <string>

namespace velmire::cli {

void Y4mWriter::WriteHeader() {
  const std::string line = header_.line + '\n';
  sink_.Write(line.data(), line.size());
}

void Y4mWriter::WriteFrame(const Y4mFrame& frame) {
  if (frame.data.size() != header_.geometry.frame_bytes()) {
    throw std::logic_error("Y4mWriter: frame size does not match the header");
  }
  const std::string line = frame.frame_line + '\n';
  sink_.Write(line.data(), line.size());
  sink_.Write(frame.data.data(), frame.data.size());
}

}  // namespace velmire::cli
