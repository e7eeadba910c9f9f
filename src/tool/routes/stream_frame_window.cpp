#include "tool/routes/stream_frame_window.h"

#include <algorithm>
#include <utility>

#include "tool/errors/cli_error.h"

namespace velmire::cli {

StreamFrameWindow::StreamFrameWindow(std::unique_ptr<ByteSource> stream,
                                     std::unique_ptr<Y4mReader> reader, std::int64_t first_frame)
    : stream_(std::move(stream)),
      reader_(std::move(reader)),
      header_(reader_->header()),
      total_frames_(reader_->total_frames()),
      first_held_(first_frame) {}

bool StreamFrameWindow::ReadNext(Y4mFrame& frame) {
  if (ended_) return false;
  try {
    if (reader_->ReadFrame(frame)) return true;
  } catch (const CliError& e) {
    input_error_ = e.what();
  }
  ended_ = true;
  return false;
}

void StreamFrameWindow::ReadUpTo(std::int64_t n) {
  if (reader_->frames_read() < first_held_) {
    Y4mFrame dropped;
    while (reader_->frames_read() < first_held_ && ReadNext(dropped)) {
    }
  }
  while (!ended_ && first_held_ + std::int64_t(window_.size()) <= n) {
    auto frame = std::make_shared<Y4mFrame>();
    if (!ReadNext(*frame)) break;
    window_.push_back(std::move(frame));
    peak_held_ = std::max(peak_held_, window_.size());
  }
}

bool StreamFrameWindow::HasFrame(std::int64_t n) {
  std::lock_guard lock(mutex_);
  ReadUpTo(n);
  return n < first_held_ + std::int64_t(window_.size());
}

std::shared_ptr<const Y4mFrame> StreamFrameWindow::Frame(std::int64_t n) {
  std::lock_guard lock(mutex_);
  std::int64_t wanted = std::max<std::int64_t>(n, 0);
  ReadUpTo(wanted);
  const std::int64_t count = first_held_ + std::int64_t(window_.size());
  if (count == 0) return nullptr;
  wanted = std::min(wanted, count - 1);
  if (wanted < first_held_) {
    throw CliError("source: frame " + std::to_string(n) + " was asked for after it had been let go");
  }
  return window_[std::size_t(wanted - first_held_)];
}

void StreamFrameWindow::ReleaseBefore(std::int64_t n) {
  std::lock_guard lock(mutex_);
  while (!window_.empty() && first_held_ < n) {
    window_.pop_front();
    ++first_held_;
  }
}

std::optional<std::int64_t> StreamFrameWindow::FramesInStream() {
  std::lock_guard lock(mutex_);
  if (!ended_) return std::nullopt;
  return reader_->frames_read();
}

std::optional<std::string> StreamFrameWindow::InputError() {
  std::lock_guard lock(mutex_);
  return input_error_;
}

std::size_t StreamFrameWindow::PeakFramesHeld() {
  std::lock_guard lock(mutex_);
  return peak_held_;
}

}  // namespace velmire::cli
