// A range of frames of a clip, as --frames A:B gives it: frames A to B-1, counted from 0, or
// from A to the end of the clip ("A:").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmire::cli {

struct FrameRange {
  std::int64_t first = 0;
  std::optional<std::int64_t> end;  // one past the last frame; unset: to the end of the clip

  bool Contains(std::int64_t n) const { return n >= first && (!end || n < *end); }
  // As written on the command line: "A:B" or "A:".
  std::string Text() const;
};

// Whether a clip of `clip_frames` frames has every frame of the range (at least one for "A:").
bool RangeFitsClip(const FrameRange& range, std::int64_t clip_frames);
// The refusal of a range that does not fit a clip of `clip_frames` frames, as one line.
std::string RangePastTheEnd(const FrameRange& range, std::int64_t clip_frames);

// Parses the value of --frames: two plain decimal numbers A:B with A < B, or A: alone. Throws
// UsageError with one line for anything else, naming an empty or reversed range as such.
FrameRange ParseFrameRange(const std::string& value);

}  // namespace velmire::cli
