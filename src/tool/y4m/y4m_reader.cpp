#include "tool/y4m/y4m_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "tool/errors/cli_error.h"

namespace velmire::cli {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::size_t kMaxHeaderLine = 16 * 1024;
constexpr std::size_t kMaxFrameLine = 4096;

// A short, printable excerpt of unexpected bytes for error messages.
std::string Excerpt(const std::string& bytes) {
  std::string out;
  for (char c : bytes.substr(0, 24)) {
    out += (c >= 0x20 && c < 0x7f) ? c : '?';
  }
  if (bytes.size() > 24) out += "...";
  return out;
}

bool IsFrameLine(const std::string& line) {
  return line.compare(0, 5, "FRAME") == 0 && (line.size() == 5 || line[5] == ' ');
}

}  // namespace

Y4mReader::Y4mReader(ByteSource& source)
    : source_(source), buffer_(kBufferSize), size_hint_(source.SizeHint()) {
  std::string line;
  const LineEnd end = ReadLine(line, kMaxHeaderLine);
  if (line.empty() && end == LineEnd::kEndOfStream) {
    throw InputError("input: the stream is empty (no YUV4MPEG2 header)");
  }
  if (line.compare(0, 9, "YUV4MPEG2") != 0) {
    throw InputError("input: not a YUV4MPEG2 stream (it does not start with 'YUV4MPEG2 ')");
  }
  if (end == LineEnd::kTooLong) {
    throw InputError("input: the header line is longer than " + std::to_string(kMaxHeaderLine) +
                     " bytes");
  }
  if (end == LineEnd::kEndOfStream) {
    throw InputError("input: the header line is cut off (no newline)");
  }
  header_ = ParseY4mHeader(line);
  header_bytes_ = bytes_consumed_;
}

Y4mReader::Y4mReader(ByteSource& source, const Y4mHeader& header, std::int64_t first_frame)
    : source_(source), buffer_(kBufferSize), frames_read_(first_frame), header_(header) {}

bool Y4mReader::ReadFrame(Y4mFrame& frame) {
  const std::int64_t index = frames_read_;
  const LineEnd end = ReadLine(frame.frame_line, kMaxFrameLine);
  if (end == LineEnd::kEndOfStream && frame.frame_line.empty()) return false;
  const std::string& line = frame.frame_line;
  if (end == LineEnd::kEndOfStream &&
      (IsFrameLine(line) || std::string_view("FRAME").substr(0, line.size()) == line)) {
    throw InputError("input: frame " + std::to_string(index) +
                     " is truncated (the stream ends inside its FRAME line)");
  }
  if (end != LineEnd::kNewline || !IsFrameLine(line)) {
    throw InputError("input: frame " + std::to_string(index) +
                     " does not start with a FRAME line (found '" + Excerpt(line) + "')");
  }
  const std::size_t expected = header_.geometry.frame_bytes();
  frame.data.resize(expected);
  const std::size_t got = ReadBytes(frame.data.data(), expected);
  if (got != expected) {
    throw InputError("input: frame " + std::to_string(index) + " is truncated (" +
                     std::to_string(got) + " of " + std::to_string(expected) + " bytes)");
  }
  if (index == 0) first_frame_line_bytes_ = frame.frame_line.size() + 1;
  ++frames_read_;
  return true;
}

std::optional<std::int64_t> Y4mReader::total_frames() const {
  if (!size_hint_ || *size_hint_ < header_bytes_) return std::nullopt;
  const std::uint64_t per_frame = first_frame_line_bytes_ + header_.geometry.frame_bytes();
  return static_cast<std::int64_t>((*size_hint_ - header_bytes_) / per_frame);
}

Y4mReader::LineEnd Y4mReader::ReadLine(std::string& line, std::size_t limit) {
  line.clear();
  while (true) {
    if (buffer_pos_ == buffer_end_ && !FillBuffer()) return LineEnd::kEndOfStream;
    const std::uint8_t* begin = buffer_.data() + buffer_pos_;
    const std::size_t available = buffer_end_ - buffer_pos_;
    const void* newline = std::memchr(begin, '\n', available);
    const std::size_t take =
        newline ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(newline) - begin)
                : available;
    if (line.size() + take > limit) {
      line.append(reinterpret_cast<const char*>(begin), limit - line.size());
      return LineEnd::kTooLong;
    }
    line.append(reinterpret_cast<const char*>(begin), take);
    const std::size_t consumed = take + (newline ? 1 : 0);
    buffer_pos_ += consumed;
    bytes_consumed_ += consumed;
    if (newline) return LineEnd::kNewline;
  }
}

std::size_t Y4mReader::ReadBytes(std::uint8_t* dst, std::size_t size) {
  std::size_t done = std::min(size, buffer_end_ - buffer_pos_);
  std::memcpy(dst, buffer_.data() + buffer_pos_, done);
  buffer_pos_ += done;
  // The rest goes straight into the destination: frames are much larger than the buffer.
  while (done < size) {
    const std::size_t n = source_.Read(dst + done, size - done);
    if (n == 0) break;
    done += n;
  }
  bytes_consumed_ += done;
  return done;
}

bool Y4mReader::FillBuffer() {
  buffer_pos_ = 0;
  buffer_end_ = source_.Read(buffer_.data(), buffer_.size());
  return buffer_end_ > 0;
}

}  // namespace velmire::cli
