// Three small frames for following one block through the filter. Luma is a flat 230
// everywhere (no edges, and far from every pattern below), chroma is random; luma patterns
// are then placed around the block to make chosen table entries match, and the block's output
// is predicted from the entry that should win.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "planar_image.h"

namespace velmire::test {

inline constexpr uint8_t kFlatLuma = 230;

// A steep rising ramp: every inner sample lies strictly between its neighbours, 24 apart, so
// with ThresholdY below 24 it marks all four chroma positions it covers. Shifted by 2 or more
// samples it differs from itself by far more than 255.
inline constexpr std::array<uint8_t, 8> kRamp{10, 22, 34, 46, 58, 70, 82, 94};
// kRamp with a sum of absolute differences of exactly 1, 254 and 255 from it.
inline constexpr std::array<uint8_t, 8> kRampOff1{10, 22, 34, 46, 58, 70, 82, 95};
inline constexpr std::array<uint8_t, 8> kRampOff254{42, 54, 66, 78, 90, 102, 114, 124};
inline constexpr std::array<uint8_t, 8> kRampOff255{42, 54, 66, 78, 90, 102, 114, 125};
// A falling ramp unlike kRamp, and one 2 away from it.
inline constexpr std::array<uint8_t, 8> kFall{200, 185, 170, 155, 140, 125, 110, 95};
inline constexpr std::array<uint8_t, 8> kFallOff2{200, 185, 170, 155, 140, 125, 110, 97};
// Period 4: the same eight samples seen at a shift of 0 and of 4.
inline constexpr std::array<uint8_t, 8> kPeriodic{20, 60, 100, 140, 20, 60, 100, 140};
inline constexpr std::array<uint8_t, 12> kPeriodicWide{20, 60, 100, 140, 20, 60,
                                                       100, 140, 20, 60, 100, 140};
// On a flat 230 row, marks the second and fourth chroma positions it covers and no others.
inline constexpr std::array<uint8_t, 8> kAlternateMarks{230, 230, 150, 70, 230, 230, 150, 70};

// Where a pattern goes: frame (-1, 0, +1), luma row relative to 2cy, first luma column
// relative to 2x.
struct Placement {
  int frame;
  int row;
  int column;
  std::span<const uint8_t> samples;
};

// A source position: frame, chroma row relative to cy, chroma offset e.
struct Source {
  int frame;
  int row;
  int offset;
};

class BlockScene {
 public:
  // The block at chroma row cy, column x of frames chromaWidth x chromaHeight.
  BlockScene(int cy, int x, int chromaWidth = 16, int chromaHeight = 6, unsigned seed = 7);

  PlanarImage& Frame(int frame) { return frames_[static_cast<size_t>(frame + 1)]; }
  const PlanarImage& Frame(int frame) const { return frames_[static_cast<size_t>(frame + 1)]; }

  void Place(const Placement& placement);
  // Like Place, but samples past the end of the luma row continue at the start of the next
  // row, where they lie in memory when the pitch equals the row size.
  void PlaceRunningOn(const Placement& placement);

  PlanarImage Run(const FilterSettings& settings, const RunOptions& options = {}) const;

  // Chroma row cy of frame n with columns x .. x+3 blended (marked ones only) with `winner`,
  // or unchanged without a winner; U and V alike.
  std::pair<std::vector<int>, std::vector<int>> ExpectedRow(
      const std::optional<Source>& winner, const std::array<bool, 4>& marked) const;

  std::vector<int> URow(const PlanarImage& image, int row) const;
  std::vector<int> VRow(const PlanarImage& image, int row) const;

  int cy() const { return cy_; }
  int x() const { return x_; }

 private:
  int cy_, x_;
  std::array<PlanarImage, 3> frames_;
};

// Settings of the block scenes: only the ramps mark, and a mark does not spread.
FilterSettings SceneSettings(int noise);

}  // namespace velmire::test
