// One frame of a YUV4MPEG2 stream: its FRAME line (kept verbatim, parameters included) and its
// pixels in stream order (Y plane, then U, then V, rows packed without padding).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmire::cli {

struct Y4mFrame {
  std::string frame_line;  // without the newline, e.g. "FRAME" or "FRAME Ixyz"
  std::vector<std::uint8_t> data;
};

}  // namespace velmire::cli
