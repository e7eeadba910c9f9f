#include "tool/run/segment_concat.h"

#include <string_view>

#include "tool/run/input_file.h"
#include "tool/run/interrupt_cleanup.h"
#include "tool/run/output_file.h"
#include "tool/errors/cli_error.h"
#include "tool/y4m/y4m_reader.h"
#include "tool/y4m/y4m_writer.h"

namespace velmire::cli {
namespace {

// Runs `read` on the segment, giving any error about it the segment's name.
template <typename Read>
auto ReadSegment(const std::string& segment, Read read) {
  if (segment == "-") {
    throw UsageError("--concat reads each segment twice, so it takes files, not standard input");
  }
  try {
    InputFile file(segment);
    Y4mReader reader(file);
    return read(reader);
  } catch (const InputError& e) {
    std::string_view what = e.what();
    if (what.starts_with("input: ")) what.remove_prefix(7);
    const std::string name = "'" + segment + "'";
    throw InputError("concat: " + (what.find(name) == std::string_view::npos ? name + ": " : "") +
                     std::string(what));
  }
}

}  // namespace

std::int64_t ConcatenateSegments(const std::vector<std::string>& segments,
                                 const std::string& output_name) {
  const Y4mHeader header = ReadSegment(segments.front(), [](Y4mReader& r) { return r.header(); });
  for (const std::string& segment : segments) {
    const std::string line = ReadSegment(segment, [](Y4mReader& r) { return r.header().line; });
    if (line != header.line) {
      throw InputError("concat: '" + segment + "' is not a segment of the same clip as '" +
                       segments.front() + "': its header is '" + line + "', not '" +
                       header.line + "'");
    }
  }

  OutputFile output(output_name);
  Y4mWriter writer(output, header);
  writer.WriteHeader();
  std::int64_t frames = 0;
  Y4mFrame frame;
  for (const std::string& segment : segments) {
    ReadSegment(segment, [&](Y4mReader& reader) {
      while (reader.ReadFrame(frame)) {
        const InterruptDeferral whole_frame;
        writer.WriteFrame(frame);
        output.MarkFrameWritten();
        ++frames;
      }
      return 0;
    });
  }
  output.Commit();
  return frames;
}

}  // namespace velmire::cli
