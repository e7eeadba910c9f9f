// The planar (YV12 / I420) frame pass: frame n, its neighbours and a writable copy in; the copy
// out, with the chroma of marked blocks corrected (or the mask painted in Debug mode).
#include <cstring>

#include "detect/mask_scan.h"
#include "plugin/filter.h"
#include "plugin/pass_frames.h"
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

PVideoFrame CrossColorFilter::ReduceCrossColorPlanar(int n, IScriptEnvironment* env) {
  PassFrames frames = AcquirePassFrames(child, n, /*planar=*/true, env);
  const int chromaWidth = frames.source->GetRowSize(PLANAR_U);
  const int chromaHeight = frames.source->GetHeight(PLANAR_U);
  std::unique_ptr<uint8_t[]> mask = AllocateMask(chromaWidth, frames, env);
  const PlanarPassPlanes planes = PlanesOf(frames);
  PlanarRowCandidates candidates;

  // The first and last chroma rows have no row above or below to search, so they stay as
  // they are; so do columns 0 .. 3 and those right of the last whole block.
  bool maskClear = true;  // the mask comes zero-filled
  for (int cy = 1; cy <= chromaHeight - 2; ++cy) {
    if (!maskClear) std::memset(mask.get(), 0, static_cast<size_t>(chromaWidth));
    BuildEdgeMaskPlanar(planes.Source().LumaRow(2 * cy), mask.get(), chromaWidth);
    // A row without steep detail has nothing to paint or correct, and leaves the mask clear.
    maskClear = !AnyMarked(mask.get(), 0, chromaWidth);
    if (maskClear) continue;
    if (settings().Debug) {
      PaintDebugPlanar(mask.get(), chromaWidth, planes.output.URow(cy), planes.output.VRow(cy));
      continue;
    }
    const PlanarRowJob job = candidates.Resolve(CandidateTablePlanarFor(chromaHeight, cy),
                                                planes, cy, chromaWidth, settings().Noise);
    for (int x = 4; x < chromaWidth - 4; x += 4) {
      if (BlockHasMark(mask.get(), x)) kernels().correctBlockPlanar(job, x, mask.get());
    }
  }
  return std::move(frames.output);
}

}  // namespace velmire
