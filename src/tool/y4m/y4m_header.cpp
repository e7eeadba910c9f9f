#include "tool/y4m/y4m_header.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "tool/errors/cli_error.h"

namespace velmire::cli {
namespace {

constexpr std::string_view kMagic = "YUV4MPEG2";
constexpr std::string_view kAccepted =
    "C420, C420jpeg, C420mpeg2, C420paldv or C422 at 8 bits, "
    "C420pN or C422pN at N = 9, 10, 12, 14 or 16 bits";

std::vector<std::string_view> SplitTags(std::string_view rest) {
  std::vector<std::string_view> tags;
  while (!rest.empty()) {
    const std::size_t space = rest.find(' ');
    const std::string_view tag = rest.substr(0, space);
    if (!tag.empty()) tags.push_back(tag);
    if (space == std::string_view::npos) break;
    rest.remove_prefix(space + 1);
  }
  return tags;
}

// Decimal digits only; values beyond int64_t saturate, so that a huge size is reported as too
// large rather than as malformed.
std::optional<std::int64_t> ParseDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error == std::errc::result_out_of_range) return std::numeric_limits<std::int64_t>::max();
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::int64_t RequireSide(std::optional<std::string_view> tag, const char* name, char letter) {
  if (!tag) {
    throw InputError(std::string("input: the header has no ") + name + " (" + letter + " tag)");
  }
  const std::optional<std::int64_t> value = ParseDigits(*tag);
  if (!value || *value <= 0) {
    throw InputError(std::string("input: invalid ") + name + " '" + letter + std::string(*tag) +
                     "' in the header (a positive integer is needed)");
  }
  return *value;
}

// The sample depths above 8 bits that ffmpeg writes into YUV4MPEG2 streams (as C420p10 and the
// like); it writes no 11-, 13- or 15-bit tags and does not read them.
constexpr int kDeepBits[] = {9, 10, 12, 14, 16};

// The bits per sample a refused colour space tag names: the number after "mono" or after the
// "p" that follows the subsampling ("mono16", "444p10"); 8 without one.
int TagBits(std::string_view tag) {
  std::string_view rest = tag;
  if (rest.starts_with("mono")) {
    rest.remove_prefix(4);
  } else {
    rest.remove_prefix(std::min(rest.find_first_not_of("0123456789"), rest.size()));
    if (!rest.starts_with('p')) return 8;
    rest.remove_prefix(1);
  }
  const std::optional<std::int64_t> bits = ParseDigits(rest);
  return bits && *bits > 8 ? static_cast<int>(std::min<std::int64_t>(*bits, 16)) : 8;
}

// The ffmpeg pixel format that turns a refused colour space into an accepted one: 4:2:0 for
// 4:2:0 sources (and for monochrome, which has no colour to keep), 4:2:2 for the rest, which
// keeps their horizontal colour detail as far as the tool can; at the source's depth, or the
// next deeper one accepted, so that no precision is lost on the way.
std::string ConversionHint(std::string_view tag) {
  const bool to_420 = tag.starts_with("420") || tag.starts_with("mono");
  std::string format = to_420 ? "yuv420p" : "yuv422p";
  const int bits = TagBits(tag);
  if (bits > 8) {
    const int* deep = std::find_if(std::begin(kDeepBits), std::end(kDeepBits),
                                   [bits](int accepted) { return accepted >= bits; });
    format += std::to_string(*deep) + "le -strict -1";
  }
  return "convert it with ffmpeg -pix_fmt " + format;
}

// The ffmpeg crop to a size the layout accepts: the last column, and for 4:2:0 the last row,
// of an odd size dropped.
std::string CropHint(ChromaLayout layout, std::int64_t width, std::int64_t height) {
  const std::int64_t even_height = layout == ChromaLayout::k420 ? height - height % 2 : height;
  return "crop it, with ffmpeg -vf crop=" + std::to_string(width - width % 2) + ":" +
         std::to_string(even_height) + ":0:0";
}

struct ColourSpace {
  ChromaLayout layout;
  int bits_per_sample;
};

std::optional<ColourSpace> AcceptedColourSpace(std::string_view tag) {
  if (tag == "420" || tag == "420jpeg" || tag == "420mpeg2" || tag == "420paldv") {
    return ColourSpace{ChromaLayout::k420, 8};
  }
  if (tag == "422") return ColourSpace{ChromaLayout::k422, 8};
  for (const ChromaLayout layout : {ChromaLayout::k420, ChromaLayout::k422}) {
    const std::string prefix = layout == ChromaLayout::k420 ? "420p" : "422p";
    for (const int bits : kDeepBits) {
      if (tag == prefix + std::to_string(bits)) return ColourSpace{layout, bits};
    }
  }
  return std::nullopt;
}

ColourSpace ParseColourSpace(std::optional<std::string_view> tag) {
  if (!tag) return ColourSpace{ChromaLayout::k420, 8};
  if (const std::optional<ColourSpace> accepted = AcceptedColourSpace(*tag)) return *accepted;
  throw InputError("input: unsupported colour space C" + std::string(*tag) + " (accepted: " +
                   std::string(kAccepted) + "); " + ConversionHint(*tag));
}

// "F30000:1001" without the letter; both parts positive, or the rate counts as unknown.
void ParseFrameRate(std::string_view value, Y4mHeader& header) {
  const std::size_t colon = value.find(':');
  if (colon == std::string_view::npos) return;
  const std::optional<std::int64_t> num = ParseDigits(value.substr(0, colon));
  const std::optional<std::int64_t> den = ParseDigits(value.substr(colon + 1));
  if (!num || !den || *num <= 0 || *den <= 0 || *num > 0x7fffffff || *den > 0x7fffffff) return;
  header.fps_numerator = static_cast<unsigned>(*num);
  header.fps_denominator = static_cast<unsigned>(*den);
}

}  // namespace

FrameGeometry MakeFrameGeometry(ChromaLayout layout, int width, int height,
                                int bits_per_sample) {
  FrameGeometry g;
  g.layout = layout;
  g.bits_per_sample = bits_per_sample;
  g.width = width;
  g.height = height;
  g.chroma_width = width / 2;
  g.chroma_height = layout == ChromaLayout::k420 ? height / 2 : height;
  return g;
}

Y4mHeader ParseY4mHeader(std::string_view line) {
  if (line.substr(0, kMagic.size()) != kMagic ||
      (line.size() > kMagic.size() && line[kMagic.size()] != ' ')) {
    throw InputError("input: not a YUV4MPEG2 stream (it does not start with 'YUV4MPEG2 ')");
  }
  Y4mHeader header;
  header.line = std::string(line);
  std::optional<std::string_view> w, h, c;
  for (std::string_view tag : SplitTags(line.substr(kMagic.size()))) {
    const std::string_view value = tag.substr(1);
    switch (tag[0]) {
      case 'W': w = value; break;
      case 'H': h = value; break;
      case 'C': c = value; break;
      case 'F': ParseFrameRate(value, header); break;
      case 'I': header.interlacing = value.size() == 1 ? value[0] : '?'; break;
      default: break;  // A, X and unknown tags are only passed through
    }
  }
  const std::int64_t width = RequireSide(w, "width", 'W');
  const std::int64_t height = RequireSide(h, "height", 'H');
  if (width > kMaxFrameSide || height > kMaxFrameSide) {
    throw InputError("input: frame size " + std::to_string(width) + "x" + std::to_string(height) +
                     " is too large (at most " + std::to_string(kMaxFrameSide) +
                     " pixels on each side)");
  }
  if (width * height > kMaxFramePixels) {
    throw InputError("input: frame size " + std::to_string(width) + "x" + std::to_string(height) +
                     " is too large (at most " + std::to_string(kMaxFramePixels) +
                     " pixels in all, such as 7680x4320)");
  }
  const ColourSpace colour = ParseColourSpace(c);
  const ChromaLayout layout = colour.layout;
  if (width % 2 != 0) {
    throw InputError("input: odd width " + std::to_string(width) +
                     " is not supported (the width must be even: " +
                     CropHint(layout, width, height) + ")");
  }
  if (layout == ChromaLayout::k420 && height % 2 != 0) {
    throw InputError("input: odd height " + std::to_string(height) +
                     " is not supported for 4:2:0 video (the height must be even: " +
                     CropHint(layout, width, height) + ")");
  }
  header.geometry = MakeFrameGeometry(layout, static_cast<int>(width), static_cast<int>(height),
                                      colour.bits_per_sample);
  return header;
}

}  // namespace velmire::cli
