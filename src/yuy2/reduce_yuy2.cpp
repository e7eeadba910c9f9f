#include "yuy2/reduce_yuy2.h"

#include "rows/row_driver.h"
#include "yuy2/paint_debug_yuy2.h"
#include "yuy2/row_job_yuy2.h"
#include "yuy2/stronger_block_yuy2.h"

namespace velmire {

namespace {

// Rows 0, 1, H-2 and H-1 lack the two rows above or below that the search reads.
constexpr int kRowsKeptAtEachEnd = 2;

FrameRowsYUY2 RowsOf(const PlaneView& plane) { return FrameRowsYUY2{plane.data, plane.pitch}; }

}  // namespace

void ReduceCrossColorYUY2(const Settings& settings, const PassKernelsYUY2& kernels,
                          const PlaneView& previous, const PlaneView& current,
                          const PlaneView& next, const WritablePlaneView& output, uint8_t* mask) {
  const int rowSize = current.rowSize;
  const InputFramesYUY2 inputs{RowsOf(previous), RowsOf(current), RowsOf(next)};
  const PartnerEntriesYUY2 partners = PartnerEntriesOfYUY2();
  auto outputRow = [&](int y) { return output.data + static_cast<ptrdiff_t>(y) * output.pitch; };
  DriveRows(
      kRowsKeptAtEachEnd, current.height - kRowsKeptAtEachEnd - 1, mask, rowSize, settings.Debug,
      [&](int y, uint8_t* rowMask) {
        kernels.edgeMask(inputs[1].Row(y), rowMask, rowSize, settings.ThresholdY,
                         settings.Margin);
      },
      [&](int y, const uint8_t* rowMask) { PaintDebugYUY2(rowMask, outputRow(y), rowSize); },
      [&](int y, const uint8_t* rowMask) {
        RowJobYUY2 job = MakeRowJobYUY2(inputs, y, outputRow(y), rowSize, settings.Noise);
        if (settings.Mode == 1) {
          job.partners = &partners;
          job.limits = PartnerLimitsFor(settings, 8);
        }
        kernels.correctRow(job, rowMask);
      });
}

}  // namespace velmire
