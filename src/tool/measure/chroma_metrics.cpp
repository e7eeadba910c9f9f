#include "tool/measure/chroma_metrics.h"

#include <cstdlib>

namespace velmire::cli {
namespace {

double Ratio(std::uint64_t num, std::uint64_t den) {
  return den == 0 ? 0.0 : double(num) / double(den);
}

// Calls visit(a, b, detailed) for every U and every V sample pair of two frames.
template <typename Visit>
void ForEachChromaPair(const StreamFrameView& a, const StreamFrameView& b, const std::uint8_t* mask,
                       Visit&& visit) {
  const FrameGeometry& g = a.geometry;
  for (int j = 0; j < g.chroma_height; ++j) {
    for (int i = 0; i < g.chroma_width; ++i) {
      const bool detailed = mask[std::size_t(j) * std::size_t(g.chroma_width) + std::size_t(i)];
      visit(a.U(i, j), b.U(i, j), detailed);
      visit(a.V(i, j), b.V(i, j), detailed);
    }
  }
}

}  // namespace

void ChromaErrorTally::Add(const StreamFrameView& frame, const StreamFrameView& reference,
                           const std::uint8_t* mask) {
  ForEachChromaPair(frame, reference, mask, [&](int a, int b, bool detailed) {
    const std::uint64_t diff = std::uint64_t(std::abs(a - b));
    (detailed ? sum_detailed_ : sum_flat_) += diff;
    ++(detailed ? count_detailed_ : count_flat_);
  });
}

ChromaError ChromaErrorTally::Mean() const {
  return ChromaError{Ratio(sum_detailed_ + sum_flat_, count_detailed_ + count_flat_),
                     Ratio(sum_detailed_, count_detailed_), Ratio(sum_flat_, count_flat_)};
}

void ChangedShareTally::Add(const StreamFrameView& before, const StreamFrameView& after,
                            const std::uint8_t* mask) {
  ForEachChromaPair(before, after, mask, [&](int a, int b, bool detailed) {
    (detailed ? changed_detailed_ : changed_flat_) += a != b ? 1 : 0;
    ++(detailed ? count_detailed_ : count_flat_);
  });
}

ChangedShare ChangedShareTally::Share() const {
  return ChangedShare{
      Ratio(changed_detailed_ + changed_flat_, count_detailed_ + count_flat_),
      Ratio(changed_detailed_, count_detailed_), Ratio(changed_flat_, count_flat_)};
}

}  // namespace velmire::cli
