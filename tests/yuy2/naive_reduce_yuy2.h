// A deliberately plain model of the YUY2 pass, written from the rules byte by byte: pictures
// without padding, the candidate order derived from its description (three sweeps, frames,
// rows, shift sets) instead of copied from a table, every score summed sample by sample.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "detect/naive_edge_mask.h"
#include "plugin/filter.h"
#include "yuy2_picture.h"

namespace velmire::test {

struct NaiveCandidate {
  int frame;  // -1, 0, +1
  int row;    // relative to the working row
  int shift;  // pixels
  bool operator==(const NaiveCandidate&) const = default;
};

// The shifts searched in one row of one frame.
inline std::vector<int> NaiveShifts(int frame, int row) {
  if (frame == 0 && row == 0) return {};                  // the reference row itself
  if (frame == 0 && row == -1) return {-6, -2, 0, 2, 6};  // the row just above, in frame n
  const bool oddMacropixels = frame != 0 && (row == -2 || row == 1 || row == 2);
  if (oddMacropixels) return {-6, -2, 2, 6};
  return {-4, 0, 4};
}

// Sweeps of negative, zero and positive shifts; each over frames n-1, n, n+1 and rows top to
// bottom; within a row the larger displacement first.
inline std::vector<NaiveCandidate> NaiveCandidateOrder() {
  std::vector<NaiveCandidate> order;
  for (int sign : {-1, 0, 1}) {
    for (int frame = -1; frame <= 1; ++frame) {
      for (int row = -2; row <= 2; ++row) {
        std::vector<int> shifts;
        for (int s : NaiveShifts(frame, row)) {
          if ((s > 0) - (s < 0) == sign) shifts.push_back(s);
        }
        std::sort(shifts.begin(), shifts.end(),
                  [](int a, int b) { return std::abs(a) > std::abs(b); });
        for (int s : shifts) order.push_back({frame, row, s});
      }
    }
  }
  return order;
}

struct NaiveStats {
  int blocksSearched = 0;
  int blocksMatched = 0;  // a candidate beat Noise
  int macropixelsPainted = 0;
};

inline Yuy2Picture NaiveReduceYUY2(const Yuy2Picture& previous, const Yuy2Picture& current,
                                   const Yuy2Picture& next, const FilterSettings& s,
                                   NaiveStats& stats) {
  static const std::vector<NaiveCandidate> order = NaiveCandidateOrder();
  const Yuy2Picture* frames[3] = {&previous, &current, &next};
  const int W = current.rowSize;
  Yuy2Picture out = current;

  for (int y = 2; y <= current.height - 3; ++y) {
    const std::vector<uint8_t> mask = NaiveEdgeMask(
        Layout::kYUY2, current.Row(y), std::vector<uint8_t>(W, 0), s.ThresholdY, s.Margin);
    if (s.Debug) {
      for (int x = 16; x < W - 16; x += 4) {
        if (mask[x] == 0) continue;
        out.At(y, x + 1) = 128;
        out.At(y, x + 3) = 255;
        ++stats.macropixelsPainted;
      }
      continue;
    }
    for (int x = 16; x < W - 16; x += 16) {
      bool marked = false;
      for (int b = x; b < x + 16; ++b) marked = marked || mask[b] != 0;
      if (!marked) continue;
      ++stats.blocksSearched;

      int best = s.Noise;
      const Yuy2Picture* bestFrame = &current;
      int bestRow = y;
      int bestStart = x;
      bool matched = false;
      for (const NaiveCandidate& c : order) {
        const int start = x + 2 * c.shift;
        if (start + 15 > W - 1) continue;  // would reach past the row's last byte
        const Yuy2Picture& f = *frames[c.frame + 1];
        int score = 0;
        for (int j = 0; j < 8; ++j)
          score += std::abs(f.At(y + c.row, start + 2 * j) - current.At(y, x + 2 * j));
        if (score < best) {
          best = score;
          bestFrame = &f;
          bestRow = y + c.row;
          bestStart = start;
          matched = true;
        }
      }
      if (matched) ++stats.blocksMatched;

      for (int m = 0; m < 4; ++m) {
        const int u = 4 * m + 1;
        const int v = 4 * m + 3;
        if (mask[x + 4 * m] != 0)
          out.At(y, x + u) = static_cast<uint8_t>(
              (current.At(y, x + u) + bestFrame->At(bestRow, bestStart + u)) / 2);
        if (mask[x + 4 * m + 2] != 0)
          out.At(y, x + v) = static_cast<uint8_t>(
              (current.At(y, x + v) + bestFrame->At(bestRow, bestStart + v)) / 2);
      }
    }
  }
  return out;
}

}  // namespace velmire::test
