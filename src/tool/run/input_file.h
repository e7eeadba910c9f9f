// The input stream: a named file or standard input, read with plain read(2) calls so that
// pipes and terminals behave, and sized when it is a regular file.
#pragma once

#include <optional>
#include <string>

#include "tool/y4m/byte_stream.h"

namespace velmire::cli {

class InputFile : public ByteSource {
 public:
  // "-" is standard input. Throws InputError if the file cannot be opened, is a folder, or
  // is a terminal.
  explicit InputFile(const std::string& name);
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::size_t Read(void* dst, std::size_t size) override;
  std::optional<std::uint64_t> SizeHint() const override { return size_; }

  // For a regular file (SizeHint() known): reads `size` bytes at `offset` from where reading
  // started, without moving the reading position; false when they are not all there.
  bool ReadAt(std::uint64_t offset, void* dst, std::size_t size) const;
  // For a regular file: moves the reading position to `offset` from where reading started.
  // Throws InputError.
  void SeekTo(std::uint64_t offset);

 private:
  std::string display_name_;
  int fd_ = -1;
  bool owned_ = false;
  std::optional<std::uint64_t> size_;
  std::uint64_t start_ = 0;  // file offset at which reading started
};

}  // namespace velmire::cli
