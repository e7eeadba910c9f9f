// In-memory byte streams: a source reading from a string and a sink appending to one.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "tool/y4m/byte_stream.h"

namespace velmire::cli {

class StringSource : public ByteSource {
 public:
  explicit StringSource(std::string bytes) : bytes_(std::move(bytes)) {}

  std::size_t Read(void* dst, std::size_t size) override {
    const std::size_t n = std::min(size, bytes_.size() - position_);
    std::memcpy(dst, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }
  std::optional<std::uint64_t> SizeHint() const override { return bytes_.size(); }

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

class StringSink : public ByteSink {
 public:
  void Write(const void* src, std::size_t size) override {
    bytes_.append(static_cast<const char*>(src), size);
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace velmire::cli
