#include "tool/measure/chroma_metrics.h"

#include <cstdlib>

namespace velmire::cli {
namespace {

double Ratio(std::uint64_t num, std::uint64_t den) {
  return den == 0 ? 0.0 : double(num) / double(den);
}

// Calls visit(a_row, b_row, mask_row, width) for every row of U and of V of two frames. The
// callers sum over all samples and over the detailed ones by multiplying with the mask, which
// keeps the inner loops free of branches: they run over every chroma sample of every frame
// judged.
template <typename Visit>
void ForEachChromaRow(const StreamFrameView& a, const StreamFrameView& b, const std::uint8_t* mask,
                      Visit&& visit) {
  const FrameGeometry& g = a.geometry;
  const std::size_t w = std::size_t(g.chroma_width);
  for (int j = 0; j < g.chroma_height; ++j) {
    const std::uint8_t* m = mask + std::size_t(j) * w;
    visit(a.u.data + j * a.u.pitch, b.u.data + j * b.u.pitch, m, w);
    visit(a.v.data + j * a.v.pitch, b.v.data + j * b.v.pitch, m, w);
  }
}

}  // namespace

void ChromaErrorTally::Add(const StreamFrameView& frame, const StreamFrameView& reference,
                           const std::uint8_t* mask) {
  std::uint64_t sum = 0, count = 0, sum_detailed = 0, count_detailed = 0;
  ForEachChromaRow(frame, reference, mask,
                   [&](const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* m,
                       std::size_t w) {
                     std::uint32_t row_sum = 0, row_detailed = 0, row_marks = 0;
                     for (std::size_t i = 0; i < w; ++i) {
                       const std::uint32_t diff = std::uint32_t(std::abs(int(a[i]) - int(b[i])));
                       const std::uint32_t detailed = m[i] != 0;
                       row_sum += diff;
                       row_detailed += diff * detailed;
                       row_marks += detailed;
                     }
                     sum += row_sum, sum_detailed += row_detailed;
                     count += w, count_detailed += row_marks;
                   });
  sum_detailed_ += sum_detailed, sum_flat_ += sum - sum_detailed;
  count_detailed_ += count_detailed, count_flat_ += count - count_detailed;
}

ChromaError ChromaErrorTally::Mean() const {
  return ChromaError{Ratio(sum_detailed_ + sum_flat_, count_detailed_ + count_flat_),
                     Ratio(sum_detailed_, count_detailed_), Ratio(sum_flat_, count_flat_)};
}

void ChangedShareTally::Add(const StreamFrameView& before, const StreamFrameView& after,
                            const std::uint8_t* mask) {
  std::uint64_t changed = 0, count = 0, changed_detailed = 0, count_detailed = 0;
  ForEachChromaRow(before, after, mask,
                   [&](const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* m,
                       std::size_t w) {
                     std::uint32_t row_changed = 0, row_detailed = 0, row_marks = 0;
                     for (std::size_t i = 0; i < w; ++i) {
                       const std::uint32_t differs = a[i] != b[i];
                       const std::uint32_t detailed = m[i] != 0;
                       row_changed += differs;
                       row_detailed += differs * detailed;
                       row_marks += detailed;
                     }
                     changed += row_changed, changed_detailed += row_detailed;
                     count += w, count_detailed += row_marks;
                   });
  changed_detailed_ += changed_detailed, changed_flat_ += changed - changed_detailed;
  count_detailed_ += count_detailed, count_flat_ += count - count_detailed;
}

ChangedShare ChangedShareTally::Share() const {
  return ChangedShare{
      Ratio(changed_detailed_ + changed_flat_, count_detailed_ + count_flat_),
      Ratio(changed_detailed_, count_detailed_), Ratio(changed_flat_, count_flat_)};
}

}  // namespace velmire::cli
