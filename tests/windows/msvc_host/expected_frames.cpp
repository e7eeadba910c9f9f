#include "expected_frames.h"

#include "../host_cases.h"
#include "checks.h"
#include "runtime.h"

namespace msvc {

ExpectedFrames::~ExpectedFrames() { free(data_); }

bool ExpectedFrames::Load(const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) {
    Check(false, "cannot open the expected frames \"%s\"", path);
    return false;
  }
  unsigned capacity = 1 << 16;
  data_ = static_cast<unsigned char*>(malloc(capacity));
  for (;;) {
    size_ += fread(data_ + size_, 1, capacity - size_, file);
    if (size_ < capacity) break;
    unsigned char* larger = static_cast<unsigned char*>(malloc(capacity * 2));
    memcpy(larger, data_, size_);
    free(data_);
    data_ = larger;
    capacity *= 2;
  }
  fclose(file);
  const unsigned magic = sizeof velmire_cases::kFileMagic;
  if (size_ < magic || memcmp(data_, velmire_cases::kFileMagic, magic) != 0) {
    Check(false, "\"%s\" is not an expected-frames file", path);
    return false;
  }
  position_ = magic;
  return true;
}

const unsigned char* ExpectedFrames::Next(unsigned* size) {
  if (size_ - position_ < 4) return nullptr;
  const unsigned char* p = data_ + position_;
  const unsigned count = p[0] | p[1] << 8 | p[2] << 16 | static_cast<unsigned>(p[3]) << 24;
  if (size_ - position_ - 4 < count) return nullptr;
  position_ += 4 + count;
  *size = count;
  return p + 4;
}

}  // namespace msvc
