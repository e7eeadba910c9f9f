#include "tool/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "tool/y4m/cli_error.h"
#include "tool/interrupt_cleanup.h"

namespace velmire::cli {
namespace {

[[noreturn]] void RefuseTerminal() {
  throw OutputError(
      "output: refusing to write video to a terminal (name an OUTPUT file or redirect standard "
      "output)");
}

std::string ErrorText(int error_number) { return std::strerror(error_number); }

// Permissions for a new file: what the user's umask allows of rw-rw-rw-.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

OutputFile::OutputFile(const std::string& name)
    : name_(name), display_name_(name == "-" ? "standard output" : "'" + name + "'") {
  if (name == "-") {
    fd_ = STDOUT_FILENO;
    if (::isatty(fd_)) RefuseTerminal();
    return;
  }
  struct stat info;
  if (::stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) {
      throw OutputError("output: " + display_name_ + " is a folder, not a file");
    }
    fd_ = ::open(name.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) {
      throw OutputError("output: cannot open " + display_name_ + ": " + ErrorText(errno));
    }
    owned_ = true;
    if (::isatty(fd_)) {
      ::close(fd_);
      fd_ = -1;
      RefuseTerminal();
    }
    return;
  }
  OpenTemporary();
}

void OutputFile::OpenTemporary() {
  const std::filesystem::path target(name_);
  const std::filesystem::path folder = target.parent_path();
  std::string hidden_name = ".";
  hidden_name += target.filename().string();
  hidden_name += ".velmire-XXXXXX";
  const std::string pattern = (folder / hidden_name).string();
  std::vector<char> path(pattern.begin(), pattern.end());
  path.push_back('\0');
  fd_ = ::mkostemp(path.data(), O_CLOEXEC);
  if (fd_ < 0) {
    throw OutputError("output: cannot create a file next to " + display_name_ + ": " +
                      ErrorText(errno));
  }
  owned_ = true;
  temporary_path_ = path.data();
  interrupt_slot_ = RememberTemporary(temporary_path_);
  // Keep the permissions of the file being replaced, or give a new file the usual ones.
  struct stat info;
  const mode_t mode = ::stat(name_.c_str(), &info) == 0 ? (info.st_mode & 07777) : NewFileMode();
  ::fchmod(fd_, mode);
}

OutputFile::~OutputFile() {
  if (!finished_) Discard();
}

void OutputFile::Write(const void* src, std::size_t size) {
  const char* bytes = static_cast<const char*>(src);
  while (size > 0) {
    const ssize_t n = ::write(fd_, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EPIPE) {
        throw OutputError("output: " + display_name_ +
                          " was closed by the program reading it (broken pipe)");
      }
      throw OutputError("output: cannot write " + display_name_ + ": " + ErrorText(errno));
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
}

void OutputFile::Commit() {
  if (finished_) return;
  if (owned_) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
      const int error_number = errno;
      Discard();
      throw OutputError("output: cannot write " + display_name_ + ": " + ErrorText(error_number));
    }
  }
  if (!temporary_path_.empty() && ::rename(temporary_path_.c_str(), name_.c_str()) != 0) {
    const int error_number = errno;
    Discard();
    throw OutputError("output: cannot move the finished file into place as " + display_name_ +
                      ": " + ErrorText(error_number));
  }
  ForgetTemporary(std::exchange(interrupt_slot_, -1));
  finished_ = true;
}

void OutputFile::Discard() noexcept {
  if (owned_ && fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_path_.empty()) ::unlink(temporary_path_.c_str());
  ForgetTemporary(std::exchange(interrupt_slot_, -1));
  finished_ = true;
}

}  // namespace velmire::cli
