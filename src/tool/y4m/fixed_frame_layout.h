// Where each frame of a YUV4MPEG2 stream starts, when every frame has a FRAME line without
// parameters: then all frames take the same number of bytes, and frame k can be reached by
// arithmetic instead of by reading the frames before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "tool/y4m/y4m_header.h"

namespace velmire::cli {

struct FixedFrameLayout {
  std::uint64_t header_bytes = 0;  // the header line and its newline
  std::uint64_t frame_stride = 0;  // "FRAME\n" and the frame's samples
  std::int64_t frames = 0;

  std::uint64_t FrameOffset(std::int64_t k) const {
    return header_bytes + std::uint64_t(k) * frame_stride;
  }
};

// Reads `size` bytes at `offset` from the start of the stream; false if they are not all there.
using ReadBytesAt = std::function<bool(std::uint64_t offset, void* dst, std::size_t size)>;

// The layout of a stream of `stream_bytes` bytes with this header, if it has fixed-size frames.
// Nothing is taken on trust: the size must hold a whole number of frames, and the FRAME lines
// of the first frame, of frame `landing` (where a reader is about to start) and the frame after
// it, of the last frame, and of frames on the way to `landing` must all be "FRAME" alone.
// Otherwise nullopt: read the stream frame by frame instead.
std::optional<FixedFrameLayout> ProbeFixedFrameLayout(const Y4mHeader& header,
                                                      std::uint64_t stream_bytes,
                                                      std::int64_t landing,
                                                      const ReadBytesAt& read_at);

}  // namespace velmire::cli
