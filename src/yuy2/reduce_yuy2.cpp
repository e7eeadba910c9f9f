// The YUY2 frame pass: frame n, its neighbours and a writable copy in; the copy out, with the
// chroma of marked blocks corrected (or the mask painted in Debug mode).
#include <cstddef>
#include <cstring>
#include <memory>

#include "detect/mask_scan.h"
#include "plugin/filter.h"
#include "plugin/pass_frames.h"
#include "yuy2/paint_debug_yuy2.h"
#include "yuy2/row_job_yuy2.h"

namespace velmire {

namespace {

// Rows 0, 1, H-2 and H-1 lack the two rows above or below that the search reads.
constexpr int kRowsKeptAtEachEnd = 2;
// A block is four macropixels; the first block starts at byte 16 and the last ends at least
// 16 bytes before the row's end, so every candidate starts at byte 4 or later.
constexpr int kBlockBytes = 16;

FrameRowsYUY2 RowsOf(const PVideoFrame& frame) {
  return FrameRowsYUY2{frame->GetReadPtr(), frame->GetPitch()};
}

// Whether any of the 16 mask bytes of a block is set, tested as four 32-bit words.
bool BlockHasMark(const uint8_t* blockMask) {
  uint32_t words[4];
  std::memcpy(words, blockMask, sizeof(words));
  return (words[0] | words[1] | words[2] | words[3]) != 0;
}

}  // namespace

PVideoFrame CrossColorFilter::ReduceCrossColorYUY2(int n, IScriptEnvironment* env) {
  PassFrames frames = AcquirePassFrames(child, n, /*planar=*/false, env);
  const int height = frames.source->GetHeight();
  const int rowSize = frames.source->GetRowSize();
  std::unique_ptr<uint8_t[]> mask = AllocateMask(rowSize, frames, env);

  // Reads go to the fetched frames only, writes to the output copy only.
  const FrameRowsYUY2 source = RowsOf(frames.source);
  const InputFramesYUY2 inputs{RowsOf(frames.previous), source, RowsOf(frames.next)};
  uint8_t* const output = frames.output->GetWritePtr();
  const int outputPitch = frames.output->GetPitch();

  bool maskClear = true;  // the mask comes zero-filled
  for (int y = kRowsKeptAtEachEnd; y < height - kRowsKeptAtEachEnd; ++y) {
    uint8_t* const outputRow = output + static_cast<ptrdiff_t>(y) * outputPitch;
    if (!maskClear) std::memset(mask.get(), 0, static_cast<size_t>(rowSize));
    BuildEdgeMaskYUY2(source.Row(y), mask.get(), rowSize);
    // Most rows of most pictures have no steep detail at all: nothing to paint or correct, and
    // the mask needs no clearing before the next row.
    maskClear = !AnyMarked(mask.get(), 0, rowSize);
    if (maskClear) continue;

    if (settings_.Debug) {
      PaintDebugYUY2(mask.get(), outputRow, rowSize);
      continue;
    }
    const Yuy2RowJob job = MakeRowJobYUY2(inputs, y, outputRow, rowSize, settings_.Noise);
    for (int x = kBlockBytes; x < rowSize - kBlockBytes; x += kBlockBytes) {
      if (BlockHasMark(mask.get() + x)) kernels().correctBlockYUY2(job, x, mask.get());
    }
  }
  return std::move(frames.output);
}

}  // namespace velmire
