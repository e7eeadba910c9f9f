#include "tool/run/segment_input.h"

#include <algorithm>
#include <utility>

#include "tool/errors/cli_error.h"
#include "tool/y4m/fixed_frame_layout.h"

namespace velmire::cli {

SegmentInput OpenSegmentInput(const std::string& name, const std::optional<FrameRange>& range,
                              int frames_either_side) {
  SegmentInput input;
  input.stream = std::make_unique<InputFile>(name);
  input.reader = std::make_unique<Y4mReader>(*input.stream);
  if (!range) return input;
  input.first_needed = std::max<std::int64_t>(range->first - frames_either_side, 0);
  if (input.first_needed > 0) {
    Y4mFrame first;
    if (input.reader->ReadFrame(first)) input.first_frame = std::move(first);
  }

  const std::optional<std::uint64_t> size = input.stream->SizeHint();
  if (!size) return input;  // a pipe: read up to the segment
  const InputFile& file = *input.stream;
  const std::optional<FixedFrameLayout> layout = ProbeFixedFrameLayout(
      input.reader->header(), *size, input.first_needed,
      [&file](std::uint64_t offset, void* dst, std::size_t bytes) {
        return file.ReadAt(offset, dst, bytes);
      });
  if (!layout) return input;  // frames of varying size: read up to the segment
  input.clip_frames = layout->frames;
  if (!RangeFitsClip(*range, layout->frames)) {
    throw CliError(RangePastTheEnd(*range, layout->frames));
  }
  if (input.first_needed > 0) {
    const Y4mHeader header = input.reader->header();
    input.stream->SeekTo(layout->FrameOffset(input.first_needed));
    input.reader = std::make_unique<Y4mReader>(*input.stream, header, input.first_needed);
  }
  return input;
}

}  // namespace velmire::cli
