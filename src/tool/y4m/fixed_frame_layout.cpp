#include "tool/y4m/fixed_frame_layout.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace velmire::cli {
namespace {

constexpr char kPlainFrameLine[] = "FRAME\n";
constexpr std::size_t kPlainFrameLineBytes = sizeof kPlainFrameLine - 1;

}  // namespace

std::optional<FixedFrameLayout> ProbeFixedFrameLayout(const Y4mHeader& header,
                                                      std::uint64_t stream_bytes,
                                                      std::int64_t landing,
                                                      const ReadBytesAt& read_at) {
  FixedFrameLayout layout;
  layout.header_bytes = header.line.size() + 1;
  layout.frame_stride = kPlainFrameLineBytes + header.geometry.frame_bytes();
  if (stream_bytes < layout.header_bytes) return std::nullopt;
  const std::uint64_t body = stream_bytes - layout.header_bytes;
  if (body % layout.frame_stride != 0) return std::nullopt;
  layout.frames = std::int64_t(body / layout.frame_stride);
  if (layout.frames == 0) return layout;

  // Parameters on FRAME lines only add bytes, so the worst a size that adds up can hide is a
  // count that is too high, which a reader finds out at the end. Landing in the wrong place
  // would take parameters adding up to whole frames before it, while every line checked here
  // still reads "FRAME": the first, the last, the one landed on and the one after it, and those
  // half, a quarter, an eighth, ... of the way there.
  landing = std::clamp<std::int64_t>(landing, 0, layout.frames - 1);
  std::vector<std::int64_t> checked = {0, std::min(landing + 1, layout.frames - 1),
                                       layout.frames - 1};
  for (std::int64_t k = landing; k > 0; k /= 2) checked.push_back(k);
  for (const std::int64_t k : checked) {
    char line[kPlainFrameLineBytes];
    if (!read_at(layout.FrameOffset(k), line, sizeof line) ||
        std::memcmp(line, kPlainFrameLine, sizeof line) != 0) {
      return std::nullopt;
    }
  }
  return layout;
}

}  // namespace velmire::cli
