#include "core/core_clip.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/cross_color.h"

namespace velmire::testing {
namespace {

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  uint32_t h = a * 0x9E3779B1u ^ b * 0x85EBCA77u ^ c * 0xC2B2AE3Du ^ d * 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  return h ^ (h >> 12);
}

}  // namespace

Plane::Plane(int w, int h, int sampleBytes, int padding)
    : width(w),
      height(h),
      bytesPerSample(sampleBytes),
      pitch(w * sampleBytes + padding),
      bytes(static_cast<size_t>(pitch) * h, 0xA5) {}

int Plane::Get(int x, int y) const {
  const uint8_t* p = bytes.data() + static_cast<size_t>(y) * pitch + x * bytesPerSample;
  if (bytesPerSample == 1) return *p;
  uint16_t sample;
  std::memcpy(&sample, p, sizeof sample);
  return sample;
}

void Plane::Set(int x, int y, int value) {
  uint8_t* p = bytes.data() + static_cast<size_t>(y) * pitch + x * bytesPerSample;
  if (bytesPerSample == 1) {
    *p = static_cast<uint8_t>(value);
  } else {
    const auto sample = static_cast<uint16_t>(value);
    std::memcpy(p, &sample, sizeof sample);
  }
}

PlaneView Plane::View() const {
  return PlaneView{bytes.data(), pitch, width * bytesPerSample, height};
}

WritablePlaneView Plane::WritableView() {
  return WritablePlaneView{bytes.data(), pitch, width * bytesPerSample, height};
}

bool Plane::SameSamples(const Plane& other) const {
  if (width != other.width || height != other.height) return false;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (Get(x, y) != other.Get(x, y)) return false;
    }
  }
  return true;
}

std::vector<Frame> DetailFrames(Layout layout, int width, int height, int padding,
                                uint32_t seed) {
  const int chromaHeight = layout == Layout::kPlanar420 ? height / 2 : height;
  std::vector<Frame> frames;
  for (int n = -1; n < 4; ++n) {
    Frame f{Plane(width, height, 1, padding), Plane(width / 2, chromaHeight, 1, padding),
            Plane(width / 2, chromaHeight, 1, padding)};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const bool still = x < width / 2;
        const int place = still ? x : x + std::clamp(n, 0, 2);
        const int level = (Hash(seed, 0, place / 2, y) & 1) ? 200 : 50;
        const int ramp = static_cast<int>(Hash(seed, 1, place, y) % 40);
        const int noise = still ? static_cast<int>(Hash(seed, n + 2, x, y) % 3) : 0;
        f.y.Set(x, y, level + ramp + noise);
      }
    }
    // Frames n-2 and n+2 hold frame n's chroma mirrored, as PAL's cross-colour is there.
    const bool outer = n == -1 || n == 3;
    for (Plane* chroma : {&f.u, &f.v}) {
      for (int y = 0; y < chromaHeight; ++y) {
        for (int x = 0; x < chroma->width; ++x) {
          const int level =
              16 + static_cast<int>(Hash(seed + (outer ? 1 : n), chroma == &f.u, x, y) % 225);
          chroma->Set(x, y, outer ? 256 - level : level);
        }
      }
    }
    frames.push_back(std::move(f));
  }
  return frames;
}

Frame Deepened(const Frame& frame, int shift, int padding) {
  Frame deep;
  for (auto [from, to] : {std::pair{&frame.y, &deep.y}, {&frame.u, &deep.u}, {&frame.v, &deep.v}}) {
    *to = Plane(from->width, from->height, 2, padding);
    for (int y = 0; y < from->height; ++y) {
      for (int x = 0; x < from->width; ++x) to->Set(x, y, from->Get(x, y) << shift);
    }
  }
  return deep;
}

Frame PackedYUY2(const Frame& planar, int padding) {
  Frame packed{Plane(2 * planar.y.width, planar.y.height, 1, padding), {}, {}};
  for (int y = 0; y < planar.y.height; ++y) {
    for (int p = 0; p < planar.u.width; ++p) {
      packed.y.Set(4 * p, y, planar.y.Get(2 * p, y));
      packed.y.Set(4 * p + 1, y, planar.u.Get(p, y));
      packed.y.Set(4 * p + 2, y, planar.y.Get(2 * p + 1, y));
      packed.y.Set(4 * p + 3, y, planar.v.Get(p, y));
    }
  }
  return packed;
}

Frame Filtered(const std::vector<Frame>& frames, const SampleFormat& format,
               const Settings& settings, const KernelSet& kernels) {
  auto view = [](const Frame& f) { return FrameView{f.y.View(), f.u.View(), f.v.View()}; };
  // Three frames n-1 .. n+1, or five n-2 .. n+2.
  const std::size_t n = frames.size() / 2;
  Frame output = frames[n];
  std::optional<OuterFrames> outer;
  if (frames.size() == 5) outer = OuterFrames{view(frames[0]), view(frames[4])};
  ReduceCrossColor(format, settings, kernels, view(frames[n - 1]), view(frames[n]),
                   view(frames[n + 1]),
                   WritableFrameView{output.y.WritableView(), output.u.WritableView(),
                                     output.v.WritableView()},
                   outer ? &*outer : nullptr);
  return output;
}

}  // namespace velmire::testing
