// Format of a clip: picture size, frame rate, frame count, pixel type and audio description.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmire {

struct VideoInfo {
  int width = 0;
  int height = 0;
  unsigned fps_numerator = 0;
  unsigned fps_denominator = 1;
  int num_frames = 0;
  int pixel_type = 0;
  int audio_samples_per_second = 0;
  int sample_type = 0;
  int64_t num_audio_samples = 0;
  int nchannels = 0;
  int image_type = 0;

  // Colour-space bits and the pixel types built from them.
  static constexpr int CS_BGR = 1 << 28;
  static constexpr int CS_YUV = 1 << 29;
  static constexpr int CS_INTERLEAVED = 1 << 30;
  static constexpr int CS_PLANAR = static_cast<int>(0x80000000u);
  static constexpr int CS_UNKNOWN = 0;
  static constexpr int CS_BGR24 = 1 << 0 | CS_BGR | CS_INTERLEAVED;  // 0x50000001
  static constexpr int CS_BGR32 = 1 << 1 | CS_BGR | CS_INTERLEAVED;  // 0x50000002
  static constexpr int CS_YUY2 = 1 << 2 | CS_YUV | CS_INTERLEAVED;   // 0x60000004
  static constexpr int CS_YV12 = 1 << 3 | CS_YUV | CS_PLANAR;        // 0xA0000008
  static constexpr int CS_I420 = 1 << 4 | CS_YUV | CS_PLANAR;        // 0xA0000010

  // Field parity flags of image_type.
  static constexpr int IT_BFF = 1 << 0;
  static constexpr int IT_TFF = 1 << 1;
  static constexpr int IT_FIELDBASED = 1 << 2;

  // Audio sample types.
  static constexpr int SAMPLE_INT8 = 1 << 0;
  static constexpr int SAMPLE_INT16 = 1 << 1;
  static constexpr int SAMPLE_INT24 = 1 << 2;
  static constexpr int SAMPLE_INT32 = 1 << 3;
  static constexpr int SAMPLE_FLOAT = 1 << 4;

  bool HasVideo() const { return width != 0; }
  bool HasAudio() const { return audio_samples_per_second != 0; }

  // Exact pixel-type tests: later hosts hand out further planar types that share bits with
  // these, so a loose bit test would accept layouts with a different geometry.
  bool IsYUY2() const { return pixel_type == CS_YUY2; }
  bool IsYV12() const { return pixel_type == CS_YV12; }
  bool IsI420() const { return pixel_type == CS_I420; }
  bool IsPlanar420() const { return IsYV12() || IsI420(); }
};

// The host's layout, pinned on 32-bit builds (the frame server is a 32-bit program).
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(VideoInfo) == 48);
static_assert(offsetof(VideoInfo, width) == 0);
static_assert(offsetof(VideoInfo, height) == 4);
static_assert(offsetof(VideoInfo, fps_numerator) == 8);
static_assert(offsetof(VideoInfo, fps_denominator) == 12);
static_assert(offsetof(VideoInfo, num_frames) == 16);
static_assert(offsetof(VideoInfo, pixel_type) == 20);
static_assert(offsetof(VideoInfo, audio_samples_per_second) == 24);
static_assert(offsetof(VideoInfo, sample_type) == 28);
static_assert(offsetof(VideoInfo, num_audio_samples) == 32);
static_assert(offsetof(VideoInfo, nchannels) == 40);
static_assert(offsetof(VideoInfo, image_type) == 44);
#endif

}  // namespace velmire
