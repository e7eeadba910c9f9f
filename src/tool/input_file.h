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

 private:
  std::string display_name_;
  int fd_ = -1;
  bool owned_ = false;
  std::optional<std::uint64_t> size_;
};

}  // namespace velmire::cli
