#include "planar/reduce_planar.h"

#include <cstring>

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

}  // namespace

void ReduceCrossColorPlanar(const Settings& settings, const PlanarKernels& kernels,
                            const FrameView& previous, const FrameView& current,
                            const FrameView& next, const WritableFrameView& output,
                            uint8_t* mask) {
  const int chromaWidth = current.u.rowSize;
  const int chromaHeight = current.u.height;
  const PlanarPassPlanes planes = PlanesOf(previous, current, next, output);
  PlanarRowCandidates candidates;

  // The first and last chroma rows have no row above or below to search, so they stay as
  // they are; so do columns 0 .. 3 and those right of the last whole block. The mask of chroma
  // row cy looks at the upper of its two luma rows, 2cy, alone: that halves the cost of the
  // mask, and detail steep enough to leave cross-colour almost always spans both rows.
  bool maskClear = true;  // the mask comes zero-filled
  for (int cy = 1; cy <= chromaHeight - 2; ++cy) {
    if (!maskClear) std::memset(mask, 0, static_cast<size_t>(chromaWidth));
    kernels.edgeMask(planes.Source().LumaRow(2 * cy), mask, chromaWidth, settings.ThresholdY,
                     settings.Margin);
    // A row without steep detail has nothing to paint or correct, and leaves the mask clear.
    maskClear = !AnyMarked(mask, 0, chromaWidth);
    if (maskClear) continue;
    if (settings.Debug) {
      PaintDebugPlanar(mask, chromaWidth, planes.output.URow(cy), planes.output.VRow(cy));
      continue;
    }
    const PlanarRowJob job = candidates.Resolve(CandidateTablePlanarFor(chromaHeight, cy), planes,
                                                cy, chromaWidth, settings.Noise);
    for (int x = 4; x < chromaWidth - 4; x += 4) {
      if (BlockHasMark(mask, x)) kernels.correctBlock(job, x, mask);
    }
  }
}

}  // namespace velmire
