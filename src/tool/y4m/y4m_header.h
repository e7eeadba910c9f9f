// The header line of a YUV4MPEG2 stream: parsed for the frame geometry, kept verbatim so that
// the output can repeat it unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmire::cli {

enum class ChromaLayout { k420, k422 };

// Largest width or height accepted, checked before any frame buffer is allocated.
inline constexpr int kMaxFrameSide = 16384;
// Largest picture area: 8K (7680x4320) fits; larger frames would need gigabytes for the frames
// in flight.
inline constexpr std::int64_t kMaxFramePixels = std::int64_t{1} << 25;

// Sizes of one frame as stored in the stream: the Y plane, then U, then V, rows packed. Samples
// above 8 bits take two bytes each, little-endian.
struct FrameGeometry {
  ChromaLayout layout = ChromaLayout::k420;
  int width = 0;  // samples
  int height = 0;
  int chroma_width = 0;  // samples
  int chroma_height = 0;
  int bits_per_sample = 8;

  int bytes_per_sample() const { return bits_per_sample > 8 ? 2 : 1; }
  int luma_row_bytes() const { return width * bytes_per_sample(); }
  int chroma_row_bytes() const { return chroma_width * bytes_per_sample(); }
  std::size_t luma_bytes() const { return std::size_t(luma_row_bytes()) * std::size_t(height); }
  std::size_t chroma_bytes() const {
    return std::size_t(chroma_row_bytes()) * std::size_t(chroma_height);
  }
  std::size_t frame_bytes() const { return luma_bytes() + 2 * chroma_bytes(); }
};

FrameGeometry MakeFrameGeometry(ChromaLayout layout, int width, int height,
                                int bits_per_sample = 8);

struct Y4mHeader {
  std::string line;  // the header line without its newline, exactly as read
  FrameGeometry geometry;
  // Informative tags, 0 or '?' when absent or unreadable (they are only passed through).
  unsigned fps_numerator = 0;
  unsigned fps_denominator = 0;
  char interlacing = '?';  // I tag: 'p', 't', 'b', 'm' or '?'
};

// Parses and validates a header line (without the newline). Throws InputError, with one line
// naming what was found and what is accepted, for anything the tool cannot process.
Y4mHeader ParseY4mHeader(std::string_view line);

}  // namespace velmire::cli
