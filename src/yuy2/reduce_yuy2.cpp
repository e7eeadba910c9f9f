#include "yuy2/reduce_yuy2.h"

#include <vector>

#include "rows/row_driver.h"
#include "stronger/still_blend.h"
#include "yuy2/paint_debug_yuy2.h"
#include "yuy2/row_job_yuy2.h"
#include "yuy2/stronger_block_yuy2.h"

namespace velmire {

namespace {

// Rows 0, 1, H-2 and H-1 lack the two rows above or below that the search reads.
constexpr int kRowsKeptAtEachEnd = 2;

FrameRowsYUY2 RowsOf(const PlaneView& plane) { return FrameRowsYUY2{plane.data, plane.pitch}; }

// The stronger mode's still blend: the row of every frame it reads (stronger/still_blend.h),
// through the packed strides.
StillRow<uint8_t> StillRowYUY2(const InputFramesYUY2& inputs, const OuterFrames* outer,
                               const WritablePlaneView& output, int rowSize, int y) {
  StillRow<uint8_t> row{};
  for (int f = 0; f < 3; ++f) {
    const uint8_t* packed = inputs[static_cast<size_t>(f)].Row(y);
    row.luma[f][0] = packed;
    row.u[f] = packed + 1;
    row.v[f] = packed + 3;
  }
  for (int side = 0; side < 2 && outer; ++side) {
    const uint8_t* packed = RowsOf(side == 0 ? outer->before.y : outer->after.y).Row(y);
    row.outerLuma[side][0] = packed;
    row.outerU[side] = packed + 1;
    row.outerV[side] = packed + 3;
  }
  uint8_t* out = output.data + static_cast<ptrdiff_t>(y) * output.pitch;
  row.lumaRows = 1;
  row.lumaStride = 2;
  row.lumaSamples = rowSize / 2;
  row.outU = out + 1;
  row.outV = out + 3;
  row.chromaStride = 4;
  row.chromaWidth = rowSize / 4;
  return row;
}

}  // namespace

void ReduceCrossColorYUY2(const Settings& settings, const PassKernelsYUY2& kernels,
                          const PlaneView& previous, const PlaneView& current,
                          const PlaneView& next, const WritablePlaneView& output, uint8_t* mask,
                          const OuterFrames* outer) {
  const int rowSize = current.rowSize;
  const InputFramesYUY2 inputs{RowsOf(previous), RowsOf(current), RowsOf(next)};
  const PartnerEntriesYUY2 partners = PartnerEntriesOfYUY2();
  auto outputRow = [&](int y) { return output.data + static_cast<ptrdiff_t>(y) * output.pitch; };
  // Mode 1 judges each row's blocks for stillness before the search: the blocks the still
  // blend will replace lose their marks (four bytes a chroma column), so the search skips them.
  const bool still = settings.Mode == 1 && !settings.Debug;
  const StillLimits limits{settings.ThresholdY, 0, 255};
  StillScratch<uint8_t> scratch(still ? rowSize / 2 : 0, kernels.still);
  StillRow<uint8_t> stillRow{};
  DriveRows(
      kRowsKeptAtEachEnd, current.height - kRowsKeptAtEachEnd - 1, mask, rowSize, settings.Debug,
      [&](int y, uint8_t* rowMask) {
        kernels.edgeMask(inputs[1].Row(y), rowMask, rowSize, settings.ThresholdY,
                         settings.Margin);
        if (still) {
          stillRow = StillRowYUY2(inputs, outer, output, rowSize, y);
          JudgeStillBlocks(stillRow, limits, scratch);
          ClearBlendedMarks(scratch.state.data(), rowSize / 4, 4, rowMask);
        }
      },
      [&](int y, const uint8_t* rowMask) { PaintDebugYUY2(rowMask, outputRow(y), rowSize); },
      [&](int y, const uint8_t* rowMask) {
        RowJobYUY2 job = MakeRowJobYUY2(inputs, y, outputRow(y), rowSize, settings.Noise);
        if (settings.Mode == 1) {
          job.partners = &partners;
          job.limits = PartnerLimitsFor(settings, 8);
        }
        kernels.correctRow(job, rowMask);
      },
      [&](int) {
        if (still) BlendJudgedBlocks(stillRow, limits, scratch);
      });
}

}  // namespace velmire
