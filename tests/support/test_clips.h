// Small helpers for tests that need clips of synthetic frames.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "host/memory_clip.h"
#include "host/script_environment.h"

namespace velmire::testing {

inline VideoInfo MakeVideoInfo(int pixelType, int width, int height, int frames = 3) {
  VideoInfo vi;
  vi.width = width;
  vi.height = height;
  vi.fps_numerator = 30000;
  vi.fps_denominator = 1001;
  vi.num_frames = frames;
  vi.pixel_type = pixelType;
  return vi;
}

// Fills every byte of every plane of a frame with fill(frameIndex, plane, x, y).
using PixelFill = std::function<uint8_t(int frame, int plane, int x, int y)>;

inline PVideoFrame MakeFrame(host::ScriptEnvironment& env, const VideoInfo& vi, int index,
                             const PixelFill& fill, int align = FRAME_ALIGN) {
  PVideoFrame frame = env.NewVideoFrame(vi, align);
  const bool planar = frame->GetPitch(PLANAR_U) != 0;
  for (const int plane : {PLANAR_Y, PLANAR_U, PLANAR_V}) {
    if (plane != PLANAR_Y && !planar) break;
    uint8_t* base = frame->vfb->data + frame->GetOffset(plane);
    for (int y = 0; y < frame->GetHeight(plane); ++y)
      for (int x = 0; x < frame->GetRowSize(plane); ++x)
        base[y * frame->GetPitch(plane) + x] = fill(index, plane, x, y);
  }
  return frame;
}

inline PClip MakeClip(host::ScriptEnvironment& env, const VideoInfo& vi, const PixelFill& fill,
                      int align = FRAME_ALIGN) {
  std::vector<PVideoFrame> frames;
  for (int i = 0; i < vi.num_frames; ++i) frames.push_back(MakeFrame(env, vi, i, fill, align));
  return PClip(new host::MemoryClip(vi, std::move(frames)));
}

inline PixelFill RandomFill(uint32_t seed) {
  return [seed](int frame, int plane, int x, int y) {
    uint32_t h = seed ^ static_cast<uint32_t>(frame * 0x9E3779B1u) ^
                 static_cast<uint32_t>(plane * 0x85EBCA77u) ^ static_cast<uint32_t>(x * 0xC2B2AE3Du) ^
                 static_cast<uint32_t>(y * 0x27D4EB2Fu);
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return static_cast<uint8_t>(h);
  };
}

// Bytes of one plane, row by row without padding.
inline std::vector<uint8_t> PlaneBytes(const PVideoFrame& frame, int plane) {
  std::vector<uint8_t> bytes;
  const uint8_t* base = frame->GetReadPtr(plane);
  for (int y = 0; y < frame->GetHeight(plane); ++y)
    bytes.insert(bytes.end(), base + y * frame->GetPitch(plane),
                 base + y * frame->GetPitch(plane) + frame->GetRowSize(plane));
  return bytes;
}

}  // namespace velmire::testing
