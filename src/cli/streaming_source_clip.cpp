#include "cli/streaming_source_clip.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "cli/cli_error.h"
#include "cli/host_frames.h"

namespace velmire::cli {

StreamingSourceClip::StreamingSourceClip(std::unique_ptr<ByteSource> stream,
                                         std::unique_ptr<Y4mReader> reader,
                                         IScriptEnvironment& env)
    : stream_(std::move(stream)),
      reader_(std::move(reader)),
      env_(env),
      vi_(MakeVideoInfo(reader_->header(), reader_->total_frames())) {}

void StreamingSourceClip::ReadUpTo(std::int64_t n) {
  while (!ended_ && first_held_ + std::int64_t(window_.size()) <= n) {
    try {
      if (!reader_->ReadFrame(scratch_)) {
        ended_ = true;
        break;
      }
    } catch (const CliError& e) {
      ended_ = true;
      input_error_ = e.what();
      break;
    }
    window_.push_back(
        Held{ToHostFrame(env_, vi_, reader_->geometry(), scratch_.data.data()), scratch_.frame_line});
    peak_held_ = std::max(peak_held_, window_.size());
  }
}

PVideoFrame StreamingSourceClip::GetFrame(int n, IScriptEnvironment*) {
  std::lock_guard lock(mutex_);
  std::int64_t wanted = std::max(n, 0);
  ReadUpTo(wanted);
  const std::int64_t count = first_held_ + std::int64_t(window_.size());
  if (count == 0) return {};
  wanted = std::min(wanted, count - 1);
  if (wanted < first_held_) {
    env_.ThrowError("source: frame %d was asked for after it had been let go", n);
  }
  return window_[std::size_t(wanted - first_held_)].frame;
}

bool StreamingSourceClip::GetParity(int) {
  return (vi_.image_type & VideoInfo::IT_TFF) != 0;
}

bool StreamingSourceClip::HasFrame(std::int64_t n) {
  if (n > INT_MAX) return false;  // beyond what a host frame number can name
  std::lock_guard lock(mutex_);
  ReadUpTo(n);
  return n < first_held_ + std::int64_t(window_.size());
}

std::string StreamingSourceClip::FrameLine(std::int64_t n) {
  std::lock_guard lock(mutex_);
  return window_.at(std::size_t(n - first_held_)).frame_line;
}

void StreamingSourceClip::ReleaseBefore(std::int64_t n) {
  std::lock_guard lock(mutex_);
  while (!window_.empty() && first_held_ < n) {
    window_.pop_front();
    ++first_held_;
  }
}

std::optional<std::string> StreamingSourceClip::InputError() {
  std::lock_guard lock(mutex_);
  return input_error_;
}

std::size_t StreamingSourceClip::PeakFramesHeld() {
  std::lock_guard lock(mutex_);
  return peak_held_;
}

}  // namespace velmire::cli
