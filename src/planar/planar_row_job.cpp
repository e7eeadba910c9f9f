#include "planar/planar_row_job.h"

namespace velmire {

static_assert(kCandidateCountPlanarA <= kPlanarMaxCandidates &&
              kCandidateCountPlanarB <= kPlanarMaxCandidates);

PlanarRowJob PlanarRowCandidates::Resolve(std::span<const PlanarTableEntry> table,
                                          const PlanarPassPlanes& planes, int cy,
                                          int chromaWidth, int noise) {
  const PlanarPlanes& source = planes.Source();
  const int lumaRow = 2 * cy;
  size_t count = 0;
  for (const PlanarTableEntry& entry : table) {
    const PlanarPlanes& frame = planes.Frame(entry.frame);
    const int chromaRow = cy + entry.chromaRow;
    entries_.at(count++) = PlanarCandidate{
        frame.LumaRow(lumaRow + entry.lumaRow), source.LumaRow(lumaRow + entry.referenceRow),
        frame.URow(chromaRow), frame.VRow(chromaRow), entry.lumaOffset, entry.chromaOffset};
  }
  return PlanarRowJob{entries_.data(),        static_cast<int>(count),
                      source.URow(cy),        source.VRow(cy),
                      planes.output.URow(cy), planes.output.VRow(cy),
                      chromaWidth,            noise};
}

}  // namespace velmire
