#include "planar/reduce_planar.h"

#include <cstring>

#include "detect/edge_mask_422.h"
#include "detect/mask_scan.h"
#include "planar/candidate_tables_planar.h"
#include "planar/paint_debug_planar.h"
#include "planar/planar_planes.h"
#include "planar/planar_row_job.h"

namespace velmire {
namespace {

// The four mask entries of the block at column x, tested as one word.
bool BlockHasMark(const uint8_t* mask, int x) {
  uint32_t entries;
  std::memcpy(&entries, mask + x, sizeof entries);
  return entries != 0;
}

// What differs between the chroma layouts: the rows corrected, the luma row a chroma row is
// examined on, and the candidate list.
struct RowPlan {
  bool is422;
  int chromaHeight;

  // 4:2:0 keeps the first and last chroma rows, which have no row above or below to search;
  // 4:2:2 keeps two rows at each end, as its list reaches two rows up and down.
  int FirstRow() const { return is422 ? 2 : 1; }
  int LastRow() const { return chromaHeight - FirstRow() - 1; }
  // The mask of a 4:2:0 chroma row looks at the upper of its two luma rows, 2cy, alone: that
  // halves the cost of the mask, and detail steep enough to leave cross-colour almost always
  // spans both rows.
  int LumaRow(int cy) const { return is422 ? cy : 2 * cy; }
  std::span<const PlanarTableEntry> Table(int cy) const {
    return is422 ? CandidateTablePlanar422() : CandidateTablePlanarFor(chromaHeight, cy);
  }
};

}  // namespace

template <typename Sample>
void ReduceCrossColorPlanar(const SampleFormat& format, const Settings& settings,
                            const PlanarKernelsOf<Sample>& kernels, const FrameView& previous,
                            const FrameView& current, const FrameView& next,
                            const WritableFrameView& output, uint8_t* mask) {
  const int chromaWidth = current.u.rowSize / static_cast<int>(sizeof(Sample));
  const RowPlan plan{format.layout == Layout::kPlanar422, current.u.height};
  const int shift = format.bitsPerSample - 8;
  const int threshold = settings.ThresholdY << shift;
  const int noise = settings.Noise << shift;
  const bool stronger = settings.Mode == 1;
  const PartnerLimits limits = PartnerLimitsFor(settings, format.bitsPerSample);
  const PlanarPassPlanes planes = PlanesOf(previous, current, next, output);
  PlanarRowCandidates<Sample> candidates;

  // Columns 0 .. 3 and those right of the last whole block stay as they are.
  bool maskClear = true;  // the mask comes zero-filled
  for (int cy = plan.FirstRow(); cy <= plan.LastRow(); ++cy) {
    if (!maskClear) std::memset(mask, 0, static_cast<size_t>(chromaWidth));
    const Sample* luma = planes.Source().template LumaRow<Sample>(plan.LumaRow(cy));
    if (plan.is422) {
      BuildEdgeMask422(kernels.edgeMask, luma, mask, chromaWidth, threshold, settings.Margin);
    } else {
      kernels.edgeMask(luma, mask, chromaWidth, threshold, settings.Margin);
    }
    // A row without steep detail has nothing to paint or correct, and leaves the mask clear.
    maskClear = !AnyMarked(mask, 0, chromaWidth);
    if (maskClear) continue;
    if (settings.Debug) {
      PaintDebugPlanar(mask, chromaWidth, planes.output.template URow<Sample>(cy),
                       planes.output.template VRow<Sample>(cy), shift);
      continue;
    }
    const std::span<const PlanarTableEntry> table = plan.Table(cy);
    const PlanarRowJobOf<Sample> job =
        candidates.Resolve(table, planes, cy, plan.LumaRow(cy), chromaWidth, noise);
    const PartnerEntries partners = stronger ? PartnerEntriesOf(table) : PartnerEntries{};
    for (int x = 4; x < chromaWidth - 4; x += 4) {
      if (!BlockHasMark(mask, x)) continue;
      kernels.correctBlock(job, x, mask);
      if (stronger) kernels.partnerBlend(job, partners, limits, x, mask);
    }
  }
}

template void ReduceCrossColorPlanar(const SampleFormat&, const Settings&,
                                     const PlanarKernelsOf<uint8_t>&, const FrameView&,
                                     const FrameView&, const FrameView&,
                                     const WritableFrameView&, uint8_t*);
template void ReduceCrossColorPlanar(const SampleFormat&, const Settings&,
                                     const PlanarKernelsOf<uint16_t>&, const FrameView&,
                                     const FrameView&, const FrameView&,
                                     const WritableFrameView&, uint8_t*);

}  // namespace velmire
