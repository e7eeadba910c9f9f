#include "host/memory_clip.h"

#include <algorithm>
#include <cstring>

namespace velmire::host {

MemoryClip::MemoryClip(const VideoInfo& vi, std::vector<PVideoFrame> frames)
    : vi_(vi), frames_(std::move(frames)) {
  vi_.num_frames = static_cast<int>(frames_.size());
}

PVideoFrame MemoryClip::GetFrame(int n, IScriptEnvironment*) {
  if (frames_.empty()) return {};
  const int last = static_cast<int>(frames_.size()) - 1;
  return frames_[static_cast<size_t>(std::clamp(n, 0, last))];
}

bool MemoryClip::GetParity(int n) {
  // Field-based clips alternate parity from field to field; frame-based ones report the
  // clip's field order.
  const bool topFirst = (vi_.image_type & VideoInfo::IT_TFF) != 0;
  if (vi_.image_type & VideoInfo::IT_FIELDBASED) return topFirst != ((n & 1) != 0);
  return topFirst;
}

int AudioBytesPerSample(const VideoInfo& vi) {
  int bytes = 0;
  switch (vi.sample_type) {
    case VideoInfo::SAMPLE_INT8: bytes = 1; break;
    case VideoInfo::SAMPLE_INT16: bytes = 2; break;
    case VideoInfo::SAMPLE_INT24: bytes = 3; break;
    case VideoInfo::SAMPLE_INT32:
    case VideoInfo::SAMPLE_FLOAT: bytes = 4; break;
    default: return 0;
  }
  return bytes * vi.nchannels;
}

void MemoryClip::GetAudio(void* buf, int64_t start, int64_t count, IScriptEnvironment*) {
  const int64_t perSample = AudioBytesPerSample(vi_);
  auto* out = static_cast<uint8_t*>(buf);
  for (int64_t i = 0; i < count * perSample; ++i)
    out[i] = static_cast<uint8_t>((start * perSample + i) * 37 + 11);
}

PVideoFrame RecordingClip::GetFrame(int n, IScriptEnvironment* env) {
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(n);
  }
  return child->GetFrame(n, env);
}

std::vector<int> RecordingClip::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

}  // namespace velmire::host
