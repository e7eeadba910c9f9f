#include "tool/run/frame_segment.h"

#include <algorithm>
#include <utility>

#include "tool/errors/cli_error.h"

namespace velmire::cli {

std::optional<std::int64_t> FrameSegment::Length(std::optional<std::int64_t> clip_frames) const {
  if (range_ && range_->end) return *range_->end - range_->first;
  if (!clip_frames) return std::nullopt;
  return std::max<std::int64_t>(*clip_frames - first(), 0);
}

std::optional<SegmentTag> FrameSegment::Tag(std::optional<std::int64_t> clip_frames,
                                            std::string run) const {
  if (!range_) return std::nullopt;
  return SegmentTag{range_->first, range_->end ? range_->end : clip_frames, clip_frames,
                    std::move(run)};
}

std::string FrameSegment::ProgressLabel() const {
  if (!range_) return "";
  // "segment 9000:" would run into the colon after it.
  return "segment " + (range_->end ? range_->Text()
                                   : std::to_string(range_->first) + " to the end");
}

std::string FrameSegment::IncompleteReason() const {
  return range_ ? "an unfinished segment is not kept" : "";
}

void FrameSegment::CheckComplete(std::int64_t written, StreamFrameWindow& window,
                                 const OutputFile& output) const {
  if (!range_) return;
  if (range_->end ? written == *range_->end - range_->first : written > 0) return;

  std::string fate;
  if (!output.temporary_path().empty()) {
    fate = output.display_name() + " was not written";
  } else if (written == 0) {
    fate = "no frame went to " + output.display_name();
  } else {
    const std::int64_t last = range_->first + written - 1;
    fate = (written == 1 ? "frame " + std::to_string(last)
                         : "frames " + std::to_string(range_->first) + " to " +
                               std::to_string(last)) +
           " went to " + output.display_name();
  }
  if (const std::optional<std::string> error = window.InputError()) {
    const bool dropped = !output.temporary_path().empty();
    throw InputError(*error + "; " + fate +
                     (dropped ? ", as segment " + range_->Text() + " is not whole" : ""));
  }
  const std::int64_t clip_frames = window.FramesInStream().value_or(range_->first + written);
  throw CliError(RangePastTheEnd(*range_, clip_frames) + "; " + fate);
}

}  // namespace velmire::cli
