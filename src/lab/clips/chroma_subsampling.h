// Turning full-resolution floating-point pictures into 8-bit frames in stream order, with the
// chroma reduced to 4:2:2 or 4:2:0.
//
// 4:2:0 chroma is formed per field, as interlaced 4:2:0 video is: chroma row j pairs two
// lines of the same field (lines 4k+p and 4k+p+2, with p = j % 2 and k = j / 2).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "lab/clips/float_plane.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {

// The two picture lines that chroma row `chroma_row` is made of (the same line twice in 4:2:2).
std::pair<int, int> SourceLinesOfChromaRow(ChromaLayout layout, int chroma_row, int height);

// Rounds and clamps to 8 bits; U and V are centred on zero in the input and on 128 in the
// output. `out` must hold MakeFrameGeometry(layout, width, height).frame_bytes().
void QuantiseFrame(const FloatPlane& y, const FloatPlane& u, const FloatPlane& v,
                   ChromaLayout layout, std::uint8_t* out);

// A chroma sample is marked when any of the picture samples it covers is.
std::vector<std::uint8_t> SubsampleMask(const std::vector<std::uint8_t>& mask, int width,
                                        int height, ChromaLayout layout);

}  // namespace velmire::lab
