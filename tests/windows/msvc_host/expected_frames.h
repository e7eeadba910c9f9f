// The expected frames written by the Linux build (format in host_cases.h), read in order.
#pragma once

namespace msvc {

class ExpectedFrames {
 public:
  ExpectedFrames() = default;
  ExpectedFrames(const ExpectedFrames&) = delete;
  ExpectedFrames& operator=(const ExpectedFrames&) = delete;
  ~ExpectedFrames();

  // Reads the whole file; false (with a failed check) when it cannot be read or is not one.
  bool Load(const char* path);
  // The next frame's bytes and their count, or null when the file has no more frames.
  const unsigned char* Next(unsigned* size);
  bool AtEnd() const { return position_ == size_; }

 private:
  unsigned char* data_ = nullptr;
  unsigned size_ = 0;
  unsigned position_ = 0;
};

}  // namespace msvc
