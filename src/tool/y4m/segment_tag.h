// The tag a segment's header carries (a YUV4MPEG2 X tag, which other readers ignore), saying
// which frames of which run the segment holds: XVELMIRE_SEGMENT=A:B:N:ID, frames A to B-1 of a
// clip of N frames, made by the run ID. B is left empty when the segment runs to an end not
// known when its header was written (from a pipe), N when the clip's length is not known.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmire::cli {

struct SegmentTag {
  std::int64_t first = 0;
  std::optional<std::int64_t> end;          // one past the last frame; unset: to the clip's end
  std::optional<std::int64_t> clip_frames;  // the whole clip's length, when known
  std::string run;                          // the run's fingerprint (hexadecimal digits)

  friend bool operator==(const SegmentTag&, const SegmentTag&) = default;
};

// The header line without a segment tag, with `tag` added at its end when given. Any tag the
// line had (an input that is itself a segment) is dropped, so a whole run writes none.
std::string HeaderWithSegmentTag(std::string_view line, const std::optional<SegmentTag>& tag);

// The line's segment tag: nullopt when it has none. Throws InputError naming the tag when it
// is not one the tool writes.
std::optional<SegmentTag> FindSegmentTag(std::string_view line);

}  // namespace velmire::cli
