// Streaming YUV4MPEG2 reader: validates the header on construction, then hands out one frame
// at a time as the caller asks for it. Never seeks, so pipes work as well as files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tool/y4m/byte_stream.h"
#include "tool/y4m/y4m_frame.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::cli {

class Y4mReader {
 public:
  // Reads and validates the header; throws InputError.
  explicit Y4mReader(ByteSource& source);
  // Reads the frames of a stream with this header from a source placed at the start of frame
  // `first_frame` (after a seek), numbering them from there. total_frames() is then unknown.
  Y4mReader(ByteSource& source, const Y4mHeader& header, std::int64_t first_frame);

  const Y4mHeader& header() const { return header_; }
  const FrameGeometry& geometry() const { return header_.geometry; }

  // Reads the next frame into `frame` (reusing its buffer). Returns false at the clean end of
  // the stream; throws InputError for a malformed FRAME line or a truncated frame.
  bool ReadFrame(Y4mFrame& frame);

  // Frames returned so far, counted from the start of the stream: the number of the next frame.
  std::int64_t frames_read() const { return frames_read_; }

  // Number of frames in the stream, when the source knows its size: worked out from the sizes
  // of the header, the frames and the FRAME lines seen so far.
  std::optional<std::int64_t> total_frames() const;

 private:
  enum class LineEnd { kNewline, kEndOfStream, kTooLong };
  LineEnd ReadLine(std::string& line, std::size_t limit);
  std::size_t ReadBytes(std::uint8_t* dst, std::size_t size);
  bool FillBuffer();

  ByteSource& source_;
  std::vector<std::uint8_t> buffer_;
  std::size_t buffer_pos_ = 0;
  std::size_t buffer_end_ = 0;
  std::uint64_t bytes_consumed_ = 0;
  std::uint64_t header_bytes_ = 0;
  std::uint64_t first_frame_line_bytes_ = 6;  // "FRAME\n" until the first frame is seen
  std::int64_t frames_read_ = 0;
  std::optional<std::uint64_t> size_hint_;
  Y4mHeader header_;
};

}  // namespace velmire::cli
