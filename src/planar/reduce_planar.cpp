#include "planar/reduce_planar.h"

#include "detect/edge_mask_422.h"
#include "planar/candidate_tables_planar.h"
#include "planar/frame_rows_planar.h"
#include "planar/paint_debug_planar.h"
#include "planar/row_job_planar.h"
#include "rows/row_driver.h"
#include "stronger/still_blend.h"

#include <vector>

namespace velmire {

// What differs between the chroma layouts: the rows corrected, the luma row a chroma row is
// examined on, and the candidate list with its partners for the stronger mode.
struct PlanarRowPlan {
  bool is422;
  int chromaHeight;
  PartnerEntriesPlanar partnersA = PartnerEntriesOfPlanar(CandidateTablePlanarA);
  PartnerEntriesPlanar partnersB = PartnerEntriesOfPlanar(CandidateTablePlanarB);
  PartnerEntriesPlanar partners422 = PartnerEntriesOfPlanar(CandidateTablePlanar422());

  // 4:2:0 keeps the first and last chroma rows, which have no row above or below to search;
  // 4:2:2 keeps two rows at each end, as its list reaches two rows up and down.
  int FirstRow() const { return is422 ? 2 : 1; }
  int LastRow() const { return chromaHeight - FirstRow() - 1; }
  // The mask of a 4:2:0 chroma row looks at the upper of its two luma rows, 2cy, alone: that
  // halves the cost of the mask, and detail steep enough to leave cross-colour almost always
  // spans both rows.
  int LumaRow(int cy) const { return is422 ? cy : 2 * cy; }
  std::span<const CandidateEntryPlanar> Table(int cy) const {
    return is422 ? CandidateTablePlanar422() : CandidateTablePlanarFor(chromaHeight, cy);
  }
  const PartnerEntriesPlanar* Partners(int cy) const {
    if (is422) return &partners422;
    return Table(cy).data() == CandidateTablePlanarA.data() ? &partnersA : &partnersB;
  }
};

// The stronger mode's still blend: the row of every frame it reads (stronger/still_blend.h).
template <typename Sample>
StillRow<Sample> StillRowPlanar(const PlanarRowPlan& plan, const InputFramesPlanar& frames,
                                int chromaWidth, int cy) {
  StillRow<Sample> row{};
  row.lumaRows = plan.is422 ? 1 : 2;
  for (int f = 0; f < 3; ++f) {
    const FrameRowsPlanar& frame = frames.Frame(f - 1);
    for (int r = 0; r < row.lumaRows; ++r) {
      row.luma[f][r] = frame.template LumaRow<Sample>(plan.LumaRow(cy) + r);
    }
    row.u[f] = frame.template URow<Sample>(cy);
    row.v[f] = frame.template VRow<Sample>(cy);
  }
  for (int side = 0; side < 2 && frames.outer; ++side) {
    const FrameRowsPlanar& frame = (*frames.outer)[static_cast<size_t>(side)];
    for (int r = 0; r < row.lumaRows; ++r) {
      row.outerLuma[side][r] = frame.template LumaRow<Sample>(plan.LumaRow(cy) + r);
    }
    row.outerU[side] = frame.template URow<Sample>(cy);
    row.outerV[side] = frame.template VRow<Sample>(cy);
  }
  row.lumaStride = 1;
  row.lumaSamples = 2 * chromaWidth;
  row.outU = frames.output.template URow<Sample>(cy);
  row.outV = frames.output.template VRow<Sample>(cy);
  row.chromaStride = 1;
  row.chromaWidth = chromaWidth;
  return row;
}

template <typename Sample>
void ReduceCrossColorPlanar(const SampleFormat& format, const Settings& settings,
                            const PassKernelsPlanarOf<Sample>& kernels, const FrameView& previous,
                            const FrameView& current, const FrameView& next,
                            const WritableFrameView& output, uint8_t* mask,
                            const OuterFrames* outer) {
  const int chromaWidth = current.u.rowSize / static_cast<int>(sizeof(Sample));
  const PlanarRowPlan plan{format.layout == Layout::kPlanar422, current.u.height};
  const int shift = format.bitsPerSample - 8;
  const int threshold = settings.ThresholdY << shift;
  const int noise = settings.Noise << shift;
  const InputFramesPlanar frames = InputFramesPlanarOf(previous, current, next, output, outer);
  // Mode 1 judges each row's blocks for stillness before the search: the blocks the still
  // blend will replace lose their marks, so the search skips them.
  const bool still = settings.Mode == 1 && !settings.Debug;
  const StillLimits limits{threshold, shift, (1 << format.bitsPerSample) - 1};
  StillScratch<Sample> scratch(still ? 2 * chromaWidth : 0, kernels.still);
  StillRow<Sample> stillRow{};
  DriveRows(
      plan.FirstRow(), plan.LastRow(), mask, chromaWidth, settings.Debug,
      [&](int cy, uint8_t* rowMask) {
        const Sample* luma = frames.Source().template LumaRow<Sample>(plan.LumaRow(cy));
        if (plan.is422) {
          BuildEdgeMask422(kernels.edgeMask, luma, rowMask, chromaWidth, threshold,
                           settings.Margin);
        } else {
          kernels.edgeMask(luma, rowMask, chromaWidth, threshold, settings.Margin);
        }
        if (still) {
          stillRow = StillRowPlanar<Sample>(plan, frames, chromaWidth, cy);
          JudgeStillBlocks(stillRow, limits, scratch);
          ClearBlendedMarks(scratch.state.data(), chromaWidth, 1, rowMask);
        }
      },
      [&](int cy, const uint8_t* rowMask) {
        PaintDebugPlanar(rowMask, chromaWidth, frames.output.template URow<Sample>(cy),
                         frames.output.template VRow<Sample>(cy), shift);
      },
      [&](int cy, const uint8_t* rowMask) {
        RowJobPlanarOf<Sample> job = MakeRowJobPlanar<Sample>(plan.Table(cy), frames, cy,
                                                              plan.LumaRow(cy), chromaWidth, noise);
        if (settings.Mode == 1) {
          job.partners = plan.Partners(cy);
          job.limits = PartnerLimitsFor(settings, format.bitsPerSample);
        }
        kernels.correctRow(job, rowMask);
      },
      [&](int) {
        if (still) BlendJudgedBlocks(stillRow, limits, scratch);
      });
}

template void ReduceCrossColorPlanar(const SampleFormat&, const Settings&,
                                     const PassKernelsPlanarOf<uint8_t>&, const FrameView&,
                                     const FrameView&, const FrameView&,
                                     const WritableFrameView&, uint8_t*, const OuterFrames*);
template void ReduceCrossColorPlanar(const SampleFormat&, const Settings&,
                                     const PassKernelsPlanarOf<uint16_t>&, const FrameView&,
                                     const FrameView&, const FrameView&,
                                     const WritableFrameView&, uint8_t*, const OuterFrames*);

}  // namespace velmire
