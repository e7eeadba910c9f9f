// The input of a run, opened and placed at the first frame the run needs. For a segment of the
// clip (--frames A:B) that is frame A-1, the first frame's neighbour (A-2 for a filter that
// reads two frames on either side, the stronger mode). A regular file whose frames
// all have a FRAME line without parameters is entered by seeking straight to it, once the file
// has shown that its frames really are of one size; anything else (pipes, FRAME lines with
// parameters, a file that does not add up) is read from the start, and the frames before are
// dropped as they come (see StreamFrameWindow).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tool/run/frame_range.h"
#include "tool/run/input_file.h"
#include "tool/y4m/y4m_reader.h"

namespace velmire::cli {

struct SegmentInput {
  std::unique_ptr<InputFile> stream;
  std::unique_ptr<Y4mReader> reader;  // has read the header, or was placed at a frame
  std::int64_t first_needed = 0;      // the first frame the run reads and holds
  std::optional<std::int64_t> clip_frames;  // the clip's length, when the file's layout tells
  // Frame 0, for the run's fingerprint, when the run starts after it (and it exists): read
  // before anything else, so the reader goes on from frame 1 or was placed further.
  std::optional<Y4mFrame> first_frame;
};

// Throws InputError when the input cannot be opened, its header is refused or its first frame
// is broken (for a segment after it), and CliError,
// before any frame is read, for a range reaching past the end of a file of known length.
SegmentInput OpenSegmentInput(const std::string& name, const std::optional<FrameRange>& range,
                              int frames_either_side = 1);

}  // namespace velmire::cli
