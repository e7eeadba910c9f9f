#include "tool/run/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tool/errors/cli_error.h"

namespace velmire::cli {

InputFile::InputFile(const std::string& name)
    : display_name_(name == "-" ? "standard input" : "'" + name + "'") {
  if (name == "-") {
    fd_ = STDIN_FILENO;
    if (::isatty(fd_)) {
      throw InputError(
          "input: refusing to read video from a terminal (name an INPUT file or pipe a stream in)");
    }
  } else {
    fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
      throw InputError("input: cannot open " + display_name_ + ": " + std::strerror(errno));
    }
    owned_ = true;
  }
  struct stat info;
  if (::fstat(fd_, &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      if (owned_) ::close(fd_);
      throw InputError("input: " + display_name_ + " is a folder, not a video stream");
    }
    if (S_ISREG(info.st_mode)) {
      // Standard input may be a file opened at some offset; count from where reading starts.
      const off_t position = ::lseek(fd_, 0, SEEK_CUR);
      if (position >= 0 && position <= info.st_size) {
        size_ = static_cast<std::uint64_t>(info.st_size - position);
        start_ = static_cast<std::uint64_t>(position);
      }
    }
  }
}

InputFile::~InputFile() {
  if (owned_) ::close(fd_);
}

std::size_t InputFile::Read(void* dst, std::size_t size) {
  while (true) {
    const ssize_t n = ::read(fd_, dst, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) {
      throw InputError("input: cannot read " + display_name_ + ": " + std::strerror(errno));
    }
  }
}

bool InputFile::ReadAt(std::uint64_t offset, void* dst, std::size_t size) const {
  if (!size_) return false;
  auto* bytes = static_cast<char*>(dst);
  while (size > 0) {
    const ssize_t n = ::pread(fd_, bytes, size, static_cast<off_t>(start_ + offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    offset += static_cast<std::uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void InputFile::SeekTo(std::uint64_t offset) {
  if (::lseek(fd_, static_cast<off_t>(start_ + offset), SEEK_SET) < 0) {
    throw InputError("input: cannot seek in " + display_name_ + ": " + std::strerror(errno));
  }
}

}  // namespace velmire::cli
