// Minimal byte stream interfaces, so the YUV4MPEG2 reader and writer work the same on files,
// pipes and memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace velmire::cli {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes; returns 0 only at the end of the stream. Throws InputError.
  virtual std::size_t Read(void* dst, std::size_t size) = 0;
  // Number of bytes the stream held when it was opened, when known without reading it
  // (a regular file); used only for progress figures.
  virtual std::optional<std::uint64_t> SizeHint() const { return std::nullopt; }
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all `size` bytes or throws OutputError.
  virtual void Write(const void* src, std::size_t size) = 0;
};

}  // namespace velmire::cli
