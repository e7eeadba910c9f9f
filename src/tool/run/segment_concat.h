// Joins the outputs of runs over segments of one clip (--frames A:B, in order and without gaps)
// into one stream, byte for byte the output of a run over the whole clip: the header once,
// without the segment tag, then every frame of each segment in turn, FRAME lines as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmire::cli {

// Writes the joined stream to `output` (see OutputFile) and returns the number of frames. Before
// anything is written, the segments' tags must show one run (see SegmentTag) whose every frame
// they hold once, in order, up to the clip's end when a segment knows it; a file of fixed-size
// frames must hold the frames its tag names. Throws CliError with one line naming the segment
// at fault or the first range missing or repeated: a segment that cannot be read, is not a
// stream the tool reads, has no tag, is of another run, or is broken.
std::int64_t ConcatenateSegments(const std::vector<std::string>& segments,
                                 const std::string& output);

}  // namespace velmire::cli
