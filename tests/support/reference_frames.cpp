#include "support/reference_frames.h"

#include <algorithm>
#include <cstring>

#include "core/cross_color.h"

namespace velmire::testing {
namespace {

PlaneBytes EmptyPlane(int rowSize, int height) {
  return PlaneBytes{rowSize, height, std::vector<uint8_t>(static_cast<size_t>(rowSize) * height)};
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  uint32_t h = a * 0x9E3779B1u ^ b * 0x85EBCA77u ^ c * 0xC2B2AE3Du ^ d * 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}

// An 8-bit level widened to `bits`, the new low bits filled with noise.
int Widen(int level8, int bits, uint32_t noise) {
  return (level8 << (bits - 8)) | static_cast<int>(noise & ((1u << (bits - 8)) - 1));
}

void Store(PlaneBytes& plane, int x, int row, int value, int bytesPerSample) {
  uint8_t* p = plane.Row(row) + x * bytesPerSample;
  if (bytesPerSample == 1) {
    *p = static_cast<uint8_t>(value);
  } else {
    const uint16_t sample = static_cast<uint16_t>(value);
    std::memcpy(p, &sample, sizeof sample);
  }
}

int LumaLevel(int x, int row, int frame, int height, uint32_t seed) {
  if (row < height / 2) return ((x + frame) & 1) ? 210 : 40;
  return static_cast<int>(Hash(seed, frame, x, row + 7) & 0xff);
}

int ChromaLevel(int x, int row, int frame, int plane, uint32_t seed) {
  return 88 + static_cast<int>(Hash(seed + plane, frame, x, row) % 80);
}

}  // namespace

FrameView FrameBytes::View() const {
  auto view = [](const PlaneBytes& p) {
    return PlaneView{p.bytes.data(), p.rowSize, p.rowSize, p.height};
  };
  return FrameView{view(y), view(u), view(v)};
}

WritableFrameView FrameBytes::WritableView() {
  auto view = [](PlaneBytes& p) {
    return WritablePlaneView{p.bytes.data(), p.rowSize, p.rowSize, p.height};
  };
  return WritableFrameView{view(y), view(u), view(v)};
}

FrameBytes EmptyFrame(const SampleFormat& format, int width, int height) {
  if (format.layout == Layout::kYUY2) return FrameBytes{EmptyPlane(width * 2, height), {}, {}};
  const int bytes = format.bitsPerSample > 8 ? 2 : 1;
  const int chromaHeight = format.layout == Layout::kPlanar420 ? height / 2 : height;
  return FrameBytes{EmptyPlane(width * bytes, height), EmptyPlane(width / 2 * bytes, chromaHeight),
                    EmptyPlane(width / 2 * bytes, chromaHeight)};
}

ClipBytes MakeDetailClip(const SampleFormat& format, int width, int height, int count,
                         uint32_t seed) {
  ClipBytes clip{format, width, height, {}};
  const int bits = format.bitsPerSample;
  const int bytes = bits > 8 ? 2 : 1;
  for (int n = 0; n < count; ++n) {
    FrameBytes frame = EmptyFrame(format, width, height);
    for (int row = 0; row < height; ++row) {
      for (int x = 0; x < width; ++x) {
        const int luma = Widen(LumaLevel(x, row, n, height, seed), bits, Hash(seed, n, x, row));
        if (format.layout == Layout::kYUY2) {
          frame.y.Row(row)[2 * x] = static_cast<uint8_t>(luma);
          const int chroma = ChromaLevel(x / 2, row, n, 1 + (x & 1), seed);
          frame.y.Row(row)[2 * x + 1] = static_cast<uint8_t>(chroma);
        } else {
          Store(frame.y, x, row, luma, bytes);
        }
      }
    }
    for (PlaneBytes* plane : {&frame.u, &frame.v}) {
      const int index = plane == &frame.u ? 1 : 2;
      for (int row = 0; row < plane->height; ++row) {
        for (int x = 0; x < plane->rowSize / bytes; ++x) {
          const int level = ChromaLevel(x, row, n, index, seed);
          Store(*plane, x, row, Widen(level, bits, Hash(seed, n + index, x, row)), bytes);
        }
      }
    }
    clip.frames.push_back(std::move(frame));
  }
  return clip;
}

FrameBytes CoreOutput(const ClipBytes& clip, int n, const Settings& settings) {
  const int last = static_cast<int>(clip.frames.size()) - 1;
  const auto frame = [&](int i) { return clip.frames[std::clamp(i, 0, last)].View(); };
  FrameBytes output = clip.frames[n];
  // Frames n-2 and n+2 as the front-ends hand them in: only where both exist.
  const OuterFrames outer{frame(n - 2), frame(n + 2)};
  ReduceCrossColor(clip.format, settings, BestKernels(), frame(n - 1), frame(n), frame(n + 1),
                   output.WritableView(), n >= 2 && n + 2 <= last ? &outer : nullptr);
  return output;
}

std::string FormatName(const SampleFormat& format) {
  switch (format.layout) {
    case Layout::kYUY2:
      return "YUY2";
    case Layout::kPlanar420:
      return "420p" + std::to_string(format.bitsPerSample);
    case Layout::kPlanar422:
      return "422p" + std::to_string(format.bitsPerSample);
  }
  return "?";
}

}  // namespace velmire::testing
