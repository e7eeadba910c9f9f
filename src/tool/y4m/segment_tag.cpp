#include "tool/y4m/segment_tag.h"

#include <vector>

#include "tool/errors/cli_error.h"
#include "tool/y4m/integer_parse.h"

namespace velmire::cli {
namespace {

constexpr std::string_view kTagName = "XVELMIRE_SEGMENT=";

std::string Number(const std::optional<std::int64_t>& n) {
  return n ? std::to_string(*n) : "";
}

// Where the tag starts in the line (after a space), or npos.
std::size_t TagStart(std::string_view line) {
  for (std::size_t at = line.find(kTagName); at != std::string_view::npos;
       at = line.find(kTagName, at + 1)) {
    if (at > 0 && line[at - 1] == ' ') return at;
  }
  return std::string_view::npos;
}

std::vector<std::string_view> SplitFields(std::string_view value) {
  std::vector<std::string_view> fields;
  for (std::size_t colon; (colon = value.find(':')) != std::string_view::npos;) {
    fields.push_back(value.substr(0, colon));
    value.remove_prefix(colon + 1);
  }
  fields.push_back(value);
  return fields;
}

// Plain decimal digits, or an empty field (unknown).
bool ReadField(std::string_view text, std::optional<std::int64_t>& value) {
  if (text.empty()) return true;
  if (text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  value = ParseInteger(text);
  return true;
}

}  // namespace

std::string HeaderWithSegmentTag(std::string_view line, const std::optional<SegmentTag>& tag) {
  std::string out(line);
  if (const std::size_t at = TagStart(line); at != std::string_view::npos) {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    out.erase(at - 1, end - at + 1);
  }
  if (tag) {
    out += " " + std::string(kTagName) + std::to_string(tag->first) + ":" + Number(tag->end) +
           ":" + Number(tag->clip_frames) + ":" + tag->run;
  }
  return out;
}

std::optional<SegmentTag> FindSegmentTag(std::string_view line) {
  const std::size_t at = TagStart(line);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view text = line.substr(at, line.find(' ', at) - at);
  const std::vector<std::string_view> fields = SplitFields(text.substr(kTagName.size()));
  SegmentTag tag;
  std::optional<std::int64_t> first;
  const bool read = fields.size() == 4 && !fields[0].empty() && ReadField(fields[0], first) &&
                    ReadField(fields[1], tag.end) && ReadField(fields[2], tag.clip_frames) &&
                    !fields[3].empty() &&
                    fields[3].find_first_not_of("0123456789abcdef") == std::string_view::npos;
  if (read) {
    tag.first = *first;
    tag.run = std::string(fields[3]);
  }
  const std::int64_t end = tag.end.value_or(tag.first + 1);
  if (!read || end <= tag.first || (tag.clip_frames && *tag.clip_frames < end)) {
    throw InputError("the segment tag '" + std::string(text) + "' is not one velmire writes");
  }
  return tag;
}

}  // namespace velmire::cli
