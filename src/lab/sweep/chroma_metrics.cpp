#include "lab/sweep/chroma_metrics.h"

#include <cstdlib>

namespace velmire::lab {
namespace {

double Ratio(std::uint64_t num, std::uint64_t den) {
  return den == 0 ? 0.0 : double(num) / double(den);
}

// Sums of measure(a, b) over every U and V sample of two frames, over all samples and over the
// detailed ones (mask set), with the count of each. The detailed sums multiply by the mask,
// which keeps the inner loop free of branches: it runs over every chroma sample of every frame
// judged.
struct ChromaSums {
  std::uint64_t sum = 0, count = 0, sum_detailed = 0, count_detailed = 0;
};

template <typename Measure>
ChromaSums SumChroma(const StreamFrameView& a, const StreamFrameView& b, const std::uint8_t* mask,
                     Measure measure) {
  const FrameGeometry& g = a.geometry;
  const std::size_t w = std::size_t(g.chroma_width);
  ChromaSums sums;
  auto row = [&](const std::uint8_t* x, const std::uint8_t* y, const std::uint8_t* m) {
    std::uint32_t row_sum = 0, row_detailed = 0, row_marks = 0;
    for (std::size_t i = 0; i < w; ++i) {
      const std::uint32_t value = measure(x[i], y[i]);
      const std::uint32_t detailed = m[i] != 0;
      row_sum += value;
      row_detailed += value * detailed;
      row_marks += detailed;
    }
    sums.sum += row_sum, sums.sum_detailed += row_detailed;
    sums.count += w, sums.count_detailed += row_marks;
  };
  for (int j = 0; j < g.chroma_height; ++j) {
    const std::uint8_t* m = mask + std::size_t(j) * w;
    row(a.u.data + j * a.u.pitch, b.u.data + j * b.u.pitch, m);
    row(a.v.data + j * a.v.pitch, b.v.data + j * b.v.pitch, m);
  }
  return sums;
}

}  // namespace

void ChromaErrorTally::Add(const StreamFrameView& frame, const StreamFrameView& reference,
                           const std::uint8_t* mask) {
  const ChromaSums s = SumChroma(frame, reference, mask, [](std::uint8_t a, std::uint8_t b) {
    return std::uint32_t(std::abs(int(a) - int(b)));
  });
  sum_detailed_ += s.sum_detailed, sum_flat_ += s.sum - s.sum_detailed;
  count_detailed_ += s.count_detailed, count_flat_ += s.count - s.count_detailed;
}

ChromaError ChromaErrorTally::Mean() const {
  return ChromaError{Ratio(sum_detailed_ + sum_flat_, count_detailed_ + count_flat_),
                     Ratio(sum_detailed_, count_detailed_), Ratio(sum_flat_, count_flat_)};
}

void ChangedShareTally::Add(const StreamFrameView& before, const StreamFrameView& after,
                            const std::uint8_t* mask) {
  const ChromaSums s = SumChroma(before, after, mask, [](std::uint8_t a, std::uint8_t b) {
    return std::uint32_t(a != b);
  });
  changed_detailed_ += s.sum_detailed, changed_flat_ += s.sum - s.sum_detailed;
  count_detailed_ += s.count_detailed, count_flat_ += s.count - s.count_detailed;
}

ChangedShare ChangedShareTally::Share() const {
  return ChangedShare{
      Ratio(changed_detailed_ + changed_flat_, count_detailed_ + count_flat_),
      Ratio(changed_detailed_, count_detailed_), Ratio(changed_flat_, count_flat_)};
}

}  // namespace velmire::lab
