// The frames a run writes: the whole clip, or the segment --frames A:B asks for. The run's
// output frame i is frame first() + i of the clip, filtered with its neighbours in the clip, so
// it is byte for byte the same frame as in a run over the whole clip.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tool/run/frame_range.h"
#include "tool/run/output_file.h"
#include "tool/routes/stream_frame_window.h"
#include "tool/y4m/segment_tag.h"

namespace velmire::cli {

class FrameSegment {
 public:
  explicit FrameSegment(const std::optional<FrameRange>& range) : range_(range) {}

  std::int64_t first() const { return range_ ? range_->first : 0; }
  // Whether frame n of the clip is written, if the clip has it.
  bool Wants(std::int64_t n) const { return !range_ || range_->Contains(n); }
  // The number of frames the run writes, when known: the range's length, or what a clip of
  // `clip_frames` frames holds from first() on.
  std::optional<std::int64_t> Length(std::optional<std::int64_t> clip_frames) const;
  // The tag the segment's header carries, for a run with fingerprint `run` over a clip of
  // `clip_frames` frames when known; nothing for a whole run. A range open at the end is
  // closed at the clip's end when that is known.
  std::optional<SegmentTag> Tag(std::optional<std::int64_t> clip_frames, std::string run) const;
  // What progress reports start with: "segment A:B" or "segment A to the end", or nothing for a
  // whole run.
  std::string ProgressLabel() const;
  // What an interrupt says when it drops an unfinished segment; empty for a whole run, which
  // keeps its complete frames.
  std::string IncompleteReason() const;

  // After `written` frames went out: a segment short of frames, because the clip ends or
  // breaks before its end, throws one line naming the cause and what became of its frames; the
  // output must then not be put in place. A whole run passes.
  void CheckComplete(std::int64_t written, StreamFrameWindow& window,
                     const OutputFile& output) const;

 private:
  std::optional<FrameRange> range_;
};

}  // namespace velmire::cli
