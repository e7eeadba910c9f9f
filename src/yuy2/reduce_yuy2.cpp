#include "yuy2/reduce_yuy2.h"

#include <cstddef>
#include <cstring>

#include "detect/mask_scan.h"
#include "yuy2/paint_debug_yuy2.h"
#include "yuy2/row_job_yuy2.h"
#include "yuy2/stronger_block_yuy2.h"

namespace velmire {

namespace {

// Rows 0, 1, H-2 and H-1 lack the two rows above or below that the search reads.
constexpr int kRowsKeptAtEachEnd = 2;
// A block is four macropixels; the first block starts at byte 16 and the last ends at least
// 16 bytes before the row's end, so every candidate starts at byte 4 or later.
constexpr int kBlockBytes = 16;

FrameRowsYUY2 RowsOf(const PlaneView& plane) { return FrameRowsYUY2{plane.data, plane.pitch}; }

// Whether any of the 16 mask bytes of a block is set, tested as four 32-bit words.
bool BlockHasMark(const uint8_t* blockMask) {
  uint32_t words[4];
  std::memcpy(words, blockMask, sizeof(words));
  return (words[0] | words[1] | words[2] | words[3]) != 0;
}

}  // namespace

void ReduceCrossColorYUY2(const Settings& settings, const Yuy2Kernels& kernels,
                          const PlaneView& previous, const PlaneView& current,
                          const PlaneView& next, const WritablePlaneView& output, uint8_t* mask) {
  const int height = current.height;
  const int rowSize = current.rowSize;
  const InputFramesYUY2 inputs{RowsOf(previous), RowsOf(current), RowsOf(next)};
  const bool stronger = settings.Mode == 1;
  const PartnerEntriesYUY2 partners = PartnerEntriesOfYUY2();
  const PartnerLimits limits = PartnerLimitsFor(settings, 8);

  bool maskClear = true;  // the mask comes zero-filled
  for (int y = kRowsKeptAtEachEnd; y < height - kRowsKeptAtEachEnd; ++y) {
    uint8_t* const outputRow = output.data + static_cast<ptrdiff_t>(y) * output.pitch;
    if (!maskClear) std::memset(mask, 0, static_cast<size_t>(rowSize));
    kernels.edgeMask(inputs[1].Row(y), mask, rowSize, settings.ThresholdY, settings.Margin);
    // Most rows of most pictures have no steep detail at all: nothing to paint or correct, and
    // the mask needs no clearing before the next row.
    maskClear = !AnyMarked(mask, 0, rowSize);
    if (maskClear) continue;

    if (settings.Debug) {
      PaintDebugYUY2(mask, outputRow, rowSize);
      continue;
    }
    const Yuy2RowJob job = MakeRowJobYUY2(inputs, y, outputRow, rowSize, settings.Noise);
    for (int x = kBlockBytes; x < rowSize - kBlockBytes; x += kBlockBytes) {
      if (!BlockHasMark(mask + x)) continue;
      kernels.correctBlock(job, x, mask);
      if (stronger) kernels.partnerBlend(job, partners, limits, x, mask);
    }
  }
}

}  // namespace velmire
