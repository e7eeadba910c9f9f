// Counted handles to frames (PVideoFrame) and clips (PClip). Each holds one reference; copying
// adds one, destruction drops one. A clip whose last reference is dropped is destroyed through
// its own deleting slot, so that memory is freed by the module that allocated it.
#pragma once

#include <utility>

#include "host/interface/video_frame.h"

namespace velmire {

class IClip;

class PVideoFrame {
 public:
  PVideoFrame() = default;
  PVideoFrame(VideoFrame* frame) : p_(frame) {  // NOLINT: implicit like the host's own handle
    if (p_) p_->AddRef();
  }
  PVideoFrame(const PVideoFrame& other) : PVideoFrame(other.p_) {}
  PVideoFrame(PVideoFrame&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  PVideoFrame& operator=(PVideoFrame other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~PVideoFrame() {
    if (p_) p_->Release();
  }

  // Takes over a frame whose reference was already counted (a frame returned through a slot).
  static PVideoFrame Adopt(VideoFrame* counted) {
    PVideoFrame handle;
    handle.p_ = counted;
    return handle;
  }
  // Gives up the handle's reference without dropping it (to return a frame through a slot).
  VideoFrame* Detach() { return std::exchange(p_, nullptr); }

  VideoFrame* operator->() const { return p_; }
  VideoFrame& operator*() const { return *p_; }
  VideoFrame* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  VideoFrame* p_ = nullptr;
};

class PClip {
 public:
  PClip() = default;
  PClip(IClip* clip);  // NOLINT: implicit like the host's own handle
  PClip(const PClip& other) : PClip(other.p_) {}
  PClip(PClip&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  PClip& operator=(PClip other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~PClip();

  IClip* operator->() const { return p_; }
  IClip& operator*() const { return *p_; }
  IClip* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  IClip* p_ = nullptr;
};

}  // namespace velmire
