#include "tool/run/frame_range.h"

#include "tool/errors/cli_error.h"
#include "tool/y4m/integer_parse.h"

namespace velmire::cli {
namespace {

// Plain decimal digits: no sign, no space.
std::optional<std::int64_t> ParseFrameNumber(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return ParseInteger(text);
}

}  // namespace

std::string FrameRange::Text() const {
  return std::to_string(first) + ":" + (end ? std::to_string(*end) : "");
}

bool RangeFitsClip(const FrameRange& range, std::int64_t clip_frames) {
  return range.end ? *range.end <= clip_frames : range.first < clip_frames;
}

std::string RangePastTheEnd(const FrameRange& range, std::int64_t clip_frames) {
  const std::string frames =
      clip_frames == 0   ? "no frames"
      : clip_frames == 1 ? "1 frame (0)"
                         : std::to_string(clip_frames) + " frames (0 to " +
                               std::to_string(clip_frames - 1) + ")";
  return "--frames " + range.Text() + " is past the end of the clip, which has " + frames;
}

FrameRange ParseFrameRange(const std::string& value) {
  const std::size_t colon = value.find(':');
  const std::optional<std::int64_t> first =
      colon == std::string::npos ? std::nullopt : ParseFrameNumber(value.substr(0, colon));
  const std::string end_text = colon == std::string::npos ? "" : value.substr(colon + 1);
  const std::optional<std::int64_t> end =
      end_text.empty() ? std::nullopt : ParseFrameNumber(end_text);
  if (!first || (!end_text.empty() && !end)) {
    throw UsageError("option --frames needs A:B (frames A to B-1, counted from 0) or A: (from A "
                     "to the end), not '" + value + "'");
  }
  // Far beyond any clip (millennia of video), and far enough from the end of int64_t that frame
  // numbers can be added to without care.
  constexpr std::int64_t kLargestFrameNumber = std::int64_t{1} << 48;
  if (*first > kLargestFrameNumber || (end && *end > kLargestFrameNumber)) {
    throw UsageError("option --frames takes frame numbers up to " +
                     std::to_string(kLargestFrameNumber) + ", not '" + value + "'");
  }
  const FrameRange range{*first, end};
  if (end && *end <= *first) {
    throw UsageError("--frames " + value + " is " + (*end == *first ? "empty" : "reversed") +
                     ": A:B writes frames A to B-1, so B must be greater than A");
  }
  return range;
}

}  // namespace velmire::cli
