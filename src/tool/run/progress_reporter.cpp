#include "tool/run/progress_reporter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>

namespace velmire::cli {
namespace {

std::string FormatDuration(double seconds) {
  const long total = std::lround(std::max(0.0, seconds));
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

bool IsPipe(int fd) {
  struct stat info;
  return ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
}

}  // namespace

bool ProgressSuitsStandardError() {
  return ::isatty(STDERR_FILENO) != 0 && !IsPipe(STDIN_FILENO) && !IsPipe(STDOUT_FILENO);
}

double ProgressReporter::SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

ProgressReporter::ProgressReporter(std::ostream& out, std::optional<std::int64_t> total_frames,
                                   Clock clock, double interval_seconds)
    : out_(out),
      total_(total_frames && *total_frames > 0 ? total_frames : std::nullopt),
      clock_(std::move(clock)),
      interval_(interval_seconds),
      start_(clock_()) {}

std::string ProgressReporter::Format(std::int64_t frames_done, double elapsed_seconds) const {
  const double fps = elapsed_seconds > 0.0 ? double(frames_done) / elapsed_seconds : 0.0;
  char text[160];
  if (total_) {
    const double percent = 100.0 * double(std::min(frames_done, *total_)) / double(*total_);
    const std::string left =
        fps > 0.0 ? FormatDuration(double(*total_ - std::min(frames_done, *total_)) / fps)
                  : std::string("?");
    std::snprintf(text, sizeof text, "frame %lld of %lld (%.1f%%), %.1f fps, %s left",
                  static_cast<long long>(frames_done), static_cast<long long>(*total_), percent,
                  fps, left.c_str());
  } else {
    std::snprintf(text, sizeof text, "frame %lld, %.1f fps", static_cast<long long>(frames_done),
                  fps);
  }
  return label_.empty() ? std::string(text) : label_ + ": " + text;
}

void ProgressReporter::Update(std::int64_t frames_done) {
  const double now = clock_();
  if (now - last_report_.value_or(start_) < interval_) return;
  Print(frames_done, now);
}

void ProgressReporter::Finish(std::int64_t frames_done) {
  Print(frames_done, clock_());
  out_ << '\n' << std::flush;
}

void ProgressReporter::Print(std::int64_t frames_done, double now) {
  const std::string line = Format(frames_done, now - start_);
  // Blank out what is left of a longer previous line.
  const std::size_t pad = last_length_ > line.size() ? last_length_ - line.size() : 0;
  out_ << '\r' << line << std::string(pad, ' ') << std::flush;
  last_length_ = line.size();
  last_report_ = now;
}

}  // namespace velmire::cli
