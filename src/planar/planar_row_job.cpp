#include "planar/planar_row_job.h"

namespace velmire {

template <typename Sample>
PlanarRowJobOf<Sample> PlanarRowCandidates<Sample>::Resolve(
    std::span<const PlanarTableEntry> table, const PlanarPassPlanes& planes, int cy,
    int lumaRow, int chromaWidth, int noise) {
  const PlanarPlanes& source = planes.Source();
  size_t count = 0;
  for (const PlanarTableEntry& entry : table) {
    const PlanarPlanes& frame = planes.Frame(entry.frame);
    const int chromaRow = cy + entry.chromaRow;
    entries_.at(count++) = PlanarCandidateOf<Sample>{
        frame.template LumaRow<Sample>(lumaRow + entry.lumaRow),
        source.template LumaRow<Sample>(lumaRow + entry.referenceRow),
        frame.template URow<Sample>(chromaRow),
        frame.template VRow<Sample>(chromaRow),
        entry.lumaOffset,
        entry.chromaOffset};
  }
  return PlanarRowJobOf<Sample>{entries_.data(),
                                static_cast<int>(count),
                                source.template URow<Sample>(cy),
                                source.template VRow<Sample>(cy),
                                planes.output.template URow<Sample>(cy),
                                planes.output.template VRow<Sample>(cy),
                                chromaWidth,
                                noise};
}

template class PlanarRowCandidates<uint8_t>;
template class PlanarRowCandidates<uint16_t>;

}  // namespace velmire
