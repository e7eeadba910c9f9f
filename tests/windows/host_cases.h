// The clips, arguments and frame requests that both the Linux program writing the expected
// frames and the Microsoft-ABI test host use, so that the two run the filter on the same input.
// Plain declarations only: the test host is built without a C++ standard library.
#pragma once

#include <stdint.h>

namespace velmire_cases {

inline constexpr int kPixelYUY2 = 0x60000004;
inline constexpr int kPixelYV12 = static_cast<int>(0xA0000008u);
inline constexpr int kPixelRGB32 = 0x50000002;
inline constexpr int kPlaneY = 1;
inline constexpr int kPlaneU = 2;
inline constexpr int kPlaneV = 4;

// One script argument after the clip: positional when name is null, else named.
struct Argument {
  const char* name;
  char type;  // 'i' or 'b'
  int value;
};

struct Case {
  const char* title;
  int pixelType;
  int width;
  int height;
  int frames;
  int argumentCount;
  Argument arguments[4];
  int requestCount;
  int requests[6];  // output frame numbers, in the order they are asked for
};

// Frames 0 and the last make the filter ask its input for frames outside the clip.
inline constexpr Case kCases[] = {
    {"YUY2, ThresholdY 24, Margin=2", kPixelYUY2, 64, 20, 5, 2,
     {{nullptr, 'i', 24}, {"Margin", 'i', 2}}, 5, {0, 2, 4, 3, 0}},
    {"YV12, Noise=80", kPixelYV12, 64, 24, 4, 1, {{"Noise", 'i', 80}}, 4, {1, 0, 3, 1}},
    {"YV12, ThresholdY 40, debug=true", kPixelYV12, 48, 16, 3, 2,
     {{nullptr, 'i', 40}, {"debug", 'b', 1}}, 2, {2, 0}},
    {"YUY2, Debug=true", kPixelYUY2, 48, 12, 3, 1, {{"Debug", 'b', 1}}, 2, {1, 2}},
};
inline constexpr int kCaseCount = sizeof(kCases) / sizeof(kCases[0]);

inline uint32_t MixBits(int frame, int plane, int x, int y) {
  uint32_t h = static_cast<uint32_t>(frame) * 0x9E3779B1u ^ static_cast<uint32_t>(plane) * 0x85EBCA77u ^
               static_cast<uint32_t>(x) * 0xC2B2AE3Du ^ static_cast<uint32_t>(y) * 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}

// Luma: steep ramps that move two pixels a frame (so neighbouring frames hold matching
// blocks), slightly noisy, with flat bands between them that carry no edges.
inline uint8_t PatternLuma(int frame, int column, int y) {
  static constexpr uint8_t kRamp[12] = {16, 42, 84, 132, 178, 220, 236, 204, 156, 104, 58, 24};
  const int noise = static_cast<int>(MixBits(frame, kPlaneY, column, y) & 3u);
  if ((y / 4) % 3 == 2) return static_cast<uint8_t>(120 + noise);
  return static_cast<uint8_t>(kRamp[(column + 2 * frame + y / 2) % 12] + noise);
}

// Chroma: different noise in every frame, around grey.
inline uint8_t PatternChroma(int frame, int plane, int column, int y) {
  return static_cast<uint8_t>(80 + MixBits(frame, plane, column, y) % 96u);
}

// Byte x of row y of a plane of frame `frame` (for YUY2 the one plane holds Y0 U Y1 V).
inline uint8_t PatternByte(int pixelType, int frame, int plane, int x, int y) {
  if (pixelType == kPixelYUY2) {
    if (x % 2 == 0) return PatternLuma(frame, x / 2, y);
    return PatternChroma(frame, x % 4 == 1 ? kPlaneU : kPlaneV, x / 4, y);
  }
  if (plane == kPlaneY) return PatternLuma(frame, x, y);
  return PatternChroma(frame, plane, x, y);
}

// The expected-frames file: kFileMagic, then for every case and request in table order a
// 32-bit little-endian byte count followed by the frame's bytes, plane by plane (Y, U, V),
// row by row without padding.
inline constexpr char kFileMagic[8] = {'V', 'L', 'M', 'X', 'F', 'R', 'M', '1'};

}  // namespace velmire_cases
