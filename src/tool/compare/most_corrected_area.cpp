#include "tool/compare/most_corrected_area.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace velmire::cli {

PixelRect FindMostCorrectedArea(const StreamFrameView& before, const StreamFrameView& after, int width,
                                int height) {
  const FrameGeometry& g = before.geometry;
  const int sub_y = g.layout == ChromaLayout::k420 ? 2 : 1;
  const int cw = g.chroma_width, ch = g.chroma_height;
  // Window size in chroma samples (at least one).
  const int win_w = std::max(1, std::min(width, g.width) / 2);
  const int win_h = std::max(1, std::min(height, g.height) / sub_y);

  // Summed-area table of the chroma change, so each window's total costs four look-ups.
  std::vector<std::uint64_t> sums(std::size_t(cw + 1) * std::size_t(ch + 1), 0);
  auto sum_at = [&](int i, int j) -> std::uint64_t& {
    return sums[std::size_t(j) * std::size_t(cw + 1) + std::size_t(i)];
  };
  for (int j = 0; j < ch; ++j) {
    for (int i = 0; i < cw; ++i) {
      const std::uint64_t change = std::uint64_t(std::abs(before.U(i, j) - after.U(i, j)) +
                                                 std::abs(before.V(i, j) - after.V(i, j)));
      sum_at(i + 1, j + 1) = change + sum_at(i, j + 1) + sum_at(i + 1, j) - sum_at(i, j);
    }
  }

  std::uint64_t best = 0;
  int best_i = (cw - win_w) / 2, best_j = (ch - win_h) / 2;
  for (int j = 0; j + win_h <= ch; ++j) {
    for (int i = 0; i + win_w <= cw; ++i) {
      const std::uint64_t total = sum_at(i + win_w, j + win_h) + sum_at(i, j) -
                                  sum_at(i + win_w, j) - sum_at(i, j + win_h);
      if (total > best) {
        best = total;
        best_i = i;
        best_j = j;
      }
    }
  }
  return PixelRect{best_i * 2, best_j * sub_y, win_w * 2, win_h * sub_y};
}

bool ChromaDiffers(const StreamFrameView& before, const StreamFrameView& after) {
  const FrameGeometry& g = before.geometry;
  for (int j = 0; j < g.chroma_height; ++j) {
    for (int i = 0; i < g.chroma_width; ++i) {
      if (before.U(i, j) != after.U(i, j) || before.V(i, j) != after.V(i, j)) return true;
    }
  }
  return false;
}

}  // namespace velmire::cli
