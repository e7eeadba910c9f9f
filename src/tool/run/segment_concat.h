// Joins the outputs of runs over segments of one clip (--frames A:B, in order and without gaps)
// into one stream, byte for byte the output of a run over the whole clip: the header once, then
// every frame of each segment in turn, FRAME lines as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmire::cli {

// Writes the joined stream to `output` (see OutputFile) and returns the number of frames. Every
// segment's header is checked against the first's before anything is written. Throws CliError
// with one line naming the segment at fault: one that cannot be read, is not a stream the tool
// reads, has another header, or is broken.
std::int64_t ConcatenateSegments(const std::vector<std::string>& segments,
                                 const std::string& output);

}  // namespace velmire::cli
