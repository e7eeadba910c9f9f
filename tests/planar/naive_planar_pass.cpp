#include "naive_planar_pass.h"

#include <array>
#include <cstdlib>

#include "detect/naive_edge_mask.h"

namespace velmire::test {
namespace {

// Per frame: row above at -6 then -2, own row at -4, row below at -6 then -2 (the right run
// mirrors the offsets). Rows: 0 above, 1 own, 2 below.
struct RunStep {
  int row;
  int offset;
};
constexpr std::array<RunStep, 5> kLeftRun{{{0, -6}, {0, -2}, {1, -4}, {2, -6}, {2, -2}}};

}  // namespace

std::vector<NaiveCandidate> NaiveCandidates(int chromaHeight, int cy) {
  const bool tableA = (chromaHeight - cy) % 2 == 1;
  const int reference = tableA ? 2 * cy - 1 : 2 * cy;
  const std::array<int, 3> lumaRows =
      tableA ? std::array<int, 3>{2 * cy - 2, 2 * cy - 1, 2 * cy + 2}
             : std::array<int, 3>{2 * cy - 1, 2 * cy, 2 * cy + 1};
  const std::array<int, 3> chromaRows{cy - 1, cy, cy + 1};

  std::vector<NaiveCandidate> list;
  auto run = [&](bool mirrored) {
    for (int frame : {-1, 0, 1}) {
      for (const RunStep& step : kLeftRun) {
        const int d = mirrored ? -step.offset : step.offset;
        list.push_back({frame, lumaRows[step.row], d, reference, chromaRows[step.row], d / 2});
      }
    }
  };
  run(false);
  for (int frame : {-1, 1}) list.push_back({frame, lumaRows[1], 0, reference, cy, 0});
  if (tableA) {
    for (int frame : {-1, 1}) list.push_back({frame, 2 * cy + 1, 0, 2 * cy + 1, cy, 0});
  }
  run(true);
  return list;
}

PlanarImage NaivePlanarPass(const PlanarImage& previous, const PlanarImage& current,
                            const PlanarImage& next, const FilterSettings& settings) {
  const PlanarImage* frames[3] = {&previous, &current, &next};
  PlanarImage out = current;
  const int w = current.ChromaWidth();
  const int h = current.ChromaHeight();

  for (int cy = 1; cy <= h - 2; ++cy) {
    const auto rowStart = current.y.begin() + static_cast<ptrdiff_t>(2 * cy) * current.width;
    const std::vector<uint8_t> lumaRow(rowStart, rowStart + 2 * w);
    const std::vector<uint8_t> mask =
        NaiveEdgeMask(Layout::kPlanar, lumaRow, std::vector<uint8_t>(static_cast<size_t>(w), 0),
                      settings.ThresholdY, settings.Margin);

    if (settings.Debug) {
      for (int i = 4; i <= w - 5; ++i) {
        if (mask[i] == 0) continue;
        out.U(cy, i) = 128;
        out.V(cy, i) = 255;
      }
      continue;
    }

    const std::vector<NaiveCandidate> candidates = NaiveCandidates(h, cy);
    for (int x = 4; x < w - 4; x += 4) {
      if (!mask[x] && !mask[x + 1] && !mask[x + 2] && !mask[x + 3]) continue;
      int best = settings.Noise;
      NaiveCandidate chosen{0, 0, 0, 0, cy, 0};
      for (const NaiveCandidate& c : candidates) {
        if (x + c.chromaOffset + 3 > w - 1) continue;  // would reach past the row's end
        int sad = 0;
        for (int k = 0; k < 8; ++k) {
          sad += std::abs(frames[c.frame + 1]->Y(c.lumaRow, 2 * x + c.lumaOffset + k) -
                          current.Y(c.referenceRow, 2 * x + k));
        }
        if (sad < best) {
          best = sad;
          chosen = c;
        }
      }
      const PlanarImage& source = *frames[chosen.frame + 1];
      for (int k = 0; k < 4; ++k) {
        if (mask[x + k] == 0) continue;
        const int column = x + chosen.chromaOffset + k;
        const int u = current.U(cy, x + k) + source.U(chosen.chromaRow, column);
        const int v = current.V(cy, x + k) + source.V(chosen.chromaRow, column);
        out.U(cy, x + k) = static_cast<uint8_t>(u / 2);
        out.V(cy, x + k) = static_cast<uint8_t>(v / 2);
      }
    }
  }
  return out;
}

}  // namespace velmire::test
