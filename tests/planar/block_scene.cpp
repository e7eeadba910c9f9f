#include "block_scene.h"

#include <algorithm>
#include <random>

namespace velmire::test {

BlockScene::BlockScene(int cy, int x, int chromaWidth, int chromaHeight, unsigned seed)
    : cy_(cy), x_(x) {
  std::mt19937 random(seed);
  for (PlanarImage& frame : frames_) {
    frame = RandomImage(2 * chromaWidth, 2 * chromaHeight, random);
    std::fill(frame.y.begin(), frame.y.end(), kFlatLuma);
  }
}

void BlockScene::Place(const Placement& placement) {
  PlanarImage& frame = Frame(placement.frame);
  for (size_t k = 0; k < placement.samples.size(); ++k)
    frame.Y(2 * cy_ + placement.row, 2 * x_ + placement.column + static_cast<int>(k)) =
        placement.samples[k];
}

void BlockScene::PlaceRunningOn(const Placement& placement) {
  PlanarImage& frame = Frame(placement.frame);
  for (size_t k = 0; k < placement.samples.size(); ++k) {
    const int column = 2 * x_ + placement.column + static_cast<int>(k);
    const int row = 2 * cy_ + placement.row + column / frame.width;
    frame.Y(row, column % frame.width) = placement.samples[k];
  }
}

PlanarImage BlockScene::Run(const FilterSettings& settings, const RunOptions& options) const {
  return RunPlanarFilter(Frame(-1), Frame(0), Frame(1), settings, options);
}

std::pair<std::vector<int>, std::vector<int>> BlockScene::ExpectedRow(
    const std::optional<Source>& winner, const std::array<bool, 4>& marked) const {
  std::vector<int> u = URow(Frame(0), cy_);
  std::vector<int> v = VRow(Frame(0), cy_);
  if (!winner) return {u, v};
  const PlanarImage& source = Frame(winner->frame);
  for (int k = 0; k < 4; ++k) {
    if (!marked[static_cast<size_t>(k)]) continue;
    const int column = x_ + winner->offset + k;
    const int row = cy_ + winner->row;
    const size_t at = static_cast<size_t>(x_ + k);
    u[at] = (u[at] + source.U(row, column)) >> 1;
    v[at] = (v[at] + source.V(row, column)) >> 1;
  }
  return {u, v};
}

std::vector<int> BlockScene::URow(const PlanarImage& image, int row) const {
  const auto first = image.u.begin() + static_cast<ptrdiff_t>(row) * image.ChromaWidth();
  return {first, first + image.ChromaWidth()};
}

std::vector<int> BlockScene::VRow(const PlanarImage& image, int row) const {
  const auto first = image.v.begin() + static_cast<ptrdiff_t>(row) * image.ChromaWidth();
  return {first, first + image.ChromaWidth()};
}

FilterSettings SceneSettings(int noise) {
  return FilterSettings{/*ThresholdY=*/20, noise, /*Margin=*/0, /*Debug=*/false};
}

}  // namespace velmire::test
