#include "tool/run/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "tool/errors/cli_error.h"
#include "tool/run/link_target.h"

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

OutputFile::OutputFile(const std::string& name, std::string incomplete_reason)
    : name_(name),
      display_name_(name == "-" ? "standard output" : "'" + name + "'"),
      incomplete_reason_(std::move(incomplete_reason)) {
  Open();
  WatchOutput(this);
}

void OutputFile::Open() {
  if (name_ == "-") {
    fd_ = STDOUT_FILENO;
    if (::isatty(fd_)) RefuseTerminal();
    return;
  }
  target_ = FollowLinks(name_, display_name_);
  struct stat info;
  if (::stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) {
      throw OutputError("output: " + display_name_ + " is a folder, not a file");
    }
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
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
  const std::filesystem::path target(target_);
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
  // Keep the permissions of the file being replaced, or give a new file the usual ones.
  struct stat info;
  replaces_existing_ = ::stat(target_.c_str(), &info) == 0;
  ::fchmod(fd_, replaces_existing_ ? (info.st_mode & 07777) : NewFileMode());
}

OutputFile::~OutputFile() {
  UnwatchOutput(this);
  if (state_ == State::kOpen) Discard();
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
  const InterruptDeferral settling;
  if (state_ != State::kOpen) return;
  if (owned_) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
      const int error_number = errno;
      Discard();
      throw OutputError("output: cannot write " + display_name_ + ": " + ErrorText(error_number));
    }
  }
  if (!temporary_path_.empty() && ::rename(temporary_path_.c_str(), target_.c_str()) != 0) {
    const int error_number = errno;
    Discard();
    throw OutputError("output: cannot move the finished file into place as " + display_name_ +
                      ": " + ErrorText(error_number));
  }
  state_ = State::kCommitted;
}

void OutputFile::Discard() noexcept {
  const InterruptDeferral settling;
  if (owned_ && fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_path_.empty()) ::unlink(temporary_path_.c_str());
  state_ = State::kDiscarded;
}

std::string OutputFile::SettleOnInterrupt(bool whole) noexcept {
  try {
    const std::int64_t frames = frames_written_.load();
    const std::string count = std::to_string(frames) + (frames == 1 ? " frame" : " frames");
    if (temporary_path_.empty()) {
      return count + (whole ? " went" : " and part of the next went") + " to " + display_name_;
    }
    switch (state_.load()) {
      case State::kCommitted: return display_name_ + " was already complete";
      case State::kDiscarded: return "";
      case State::kOpen: break;
    }
    // The process ends right after this: the descriptor need not be closed.
    if (replaces_existing_) {
      ::unlink(temporary_path_.c_str());
      return display_name_ + " is unchanged (the unfinished output was removed)";
    }
    if (frames == 0 || !whole) {
      ::unlink(temporary_path_.c_str());
      return "no frame was complete, so " + display_name_ + " was not created";
    }
    if (!incomplete_reason_.empty()) {
      ::unlink(temporary_path_.c_str());
      return display_name_ + " was not created (" + incomplete_reason_ + ")";
    }
    if (::rename(temporary_path_.c_str(), target_.c_str()) != 0) {
      const int error_number = errno;
      ::unlink(temporary_path_.c_str());
      return "the " + count + " done could not be kept as " + display_name_ + ": " +
             ErrorText(error_number);
    }
    return display_name_ + " holds the first " + count + ", as a valid stream";
  } catch (...) {
    return "";
  }
}

}  // namespace velmire::cli
