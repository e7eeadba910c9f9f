#include "tool/run/segment_concat.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "tool/errors/cli_error.h"
#include "tool/run/input_file.h"
#include "tool/run/interrupt_cleanup.h"
#include "tool/run/output_file.h"
#include "tool/y4m/fixed_frame_layout.h"
#include "tool/y4m/segment_tag.h"
#include "tool/y4m/y4m_reader.h"
#include "tool/y4m/y4m_writer.h"

namespace velmire::cli {
namespace {

struct Segment {
  std::string name;  // as messages give it: 'NAME'
  Y4mHeader header;
  SegmentTag tag;
  std::optional<std::int64_t> frames;  // counted from the file's size, when its frames are fixed
};

// Runs `read` on the segment's file and reader, giving any error about it the segment's name.
template <typename Read>
auto ReadSegment(const std::string& segment, Read read) {
  if (segment == "-") {
    throw UsageError("--concat reads each segment twice, so it takes files, not standard input");
  }
  try {
    InputFile file(segment);
    Y4mReader reader(file);
    return read(file, reader);
  } catch (const InputError& e) {
    std::string_view what = e.what();
    if (what.starts_with("input: ")) what.remove_prefix(7);
    const std::string name = "'" + segment + "'";
    throw InputError("concat: " + (what.find(name) == std::string_view::npos ? name + ": " : "") +
                     std::string(what));
  }
}

Segment OpenSegment(const std::string& name) {
  return ReadSegment(name, [&](InputFile& file, Y4mReader& reader) {
    const std::optional<SegmentTag> tag = FindSegmentTag(reader.header().line);
    if (!tag) {
      throw InputError("'" + name + "' does not say which frames it holds (it was made "
                       "without --frames, or by an older velmire): make it again with velmire "
                       "--frames A:B INPUT OUTPUT");
    }
    Segment segment{"'" + name + "'", reader.header(), *tag, std::nullopt};
    if (const std::optional<std::uint64_t> size = file.SizeHint()) {
      const std::optional<FixedFrameLayout> layout = ProbeFixedFrameLayout(
          reader.header(), *size, 0, [&file](std::uint64_t offset, void* dst, std::size_t n) {
            return file.ReadAt(offset, dst, n);
          });
      if (layout) segment.frames = layout->frames;
    }
    return segment;
  });
}

std::string Frames(std::int64_t first, std::int64_t last) {
  return first == last ? "frame " + std::to_string(first)
                       : "frames " + std::to_string(first) + " to " + std::to_string(last);
}

// "frame 5 is missing", "frames 4 to 6 are missing".
std::string FramesThat(std::int64_t first, std::int64_t last, const char* one, const char* many) {
  return Frames(first, last) + " " + (first == last ? one : many);
}

// A segment whose tag names a range must hold exactly its frames.
void CheckLength(const Segment& segment, std::int64_t frames) {
  const SegmentTag& tag = segment.tag;
  if (!tag.end || frames == *tag.end - tag.first) return;
  throw InputError("concat: " + segment.name + " holds " + std::to_string(frames) +
                   " frames, not the " + Frames(tag.first, *tag.end - 1) + " its header names");
}

// The segments, in the order given, must be of one run and hold each of its frames once: from
// frame 0, without gap or overlap, to the clip's end when a segment knows it (a last segment
// open at the end reaches it). Throws InputError naming the first range missing or repeated.
void CheckSegmentsCoverRun(const std::vector<Segment>& segments) {
  const Segment& first = segments.front();
  std::optional<std::int64_t> clip_frames;
  for (const Segment& s : segments) {
    if (s.tag.run != first.tag.run) {
      throw InputError("concat: " + s.name + " is not a segment of the same run as " +
                       first.name + " (another input, other settings or another velmire)");
    }
    if (clip_frames && s.tag.clip_frames && *s.tag.clip_frames != *clip_frames) {
      throw InputError("concat: " + s.name + " was made from a clip of " +
                       std::to_string(*s.tag.clip_frames) + " frames, the segments before it " +
                       "from one of " + std::to_string(*clip_frames) + ": the input changed");
    }
    if (s.tag.clip_frames) clip_frames = s.tag.clip_frames;
    if (s.frames) CheckLength(s, *s.frames);
  }

  std::int64_t next = 0;  // the first frame no segment so far holds
  for (std::size_t k = 0; k < segments.size(); ++k) {
    const SegmentTag& tag = segments[k].tag;
    const std::string& name = segments[k].name;
    // A frame an earlier segment holds is repeated (after one open at its end, every frame).
    for (std::size_t j = 0; j < k; ++j) {
      const SegmentTag& earlier = segments[j].tag;
      if (tag.first < earlier.first || (earlier.end && tag.first >= *earlier.end)) continue;
      std::optional<std::int64_t> shared_end = earlier.end;
      if (tag.end && (!shared_end || *tag.end < *shared_end)) shared_end = tag.end;
      throw InputError("concat: " +
                       (shared_end ? FramesThat(tag.first, *shared_end - 1, "comes", "come")
                                   : "frames " + std::to_string(tag.first) + " to the end come") +
                       " twice: in " + segments[j].name + " and in " + name);
    }
    if (tag.first > next) {
      throw InputError("concat: " + FramesThat(next, tag.first - 1, "is", "are") + " missing: " +
                       (k == 0 ? "the first segment, " + name + ", starts at frame "
                               : segments[k - 1].name + " ends at frame " +
                                     std::to_string(next - 1) + " and " + name +
                                     " starts at frame ") +
                       std::to_string(tag.first));
    }
    next = tag.end.value_or(next);
  }
  const Segment& last = segments.back();
  if (clip_frames && last.tag.end && next < *clip_frames) {
    throw InputError("concat: " + FramesThat(next, *clip_frames - 1, "is", "are") +
                     " missing: the last segment, " + last.name + ", ends at frame " +
                     std::to_string(next - 1) +
                     " and the clip has " + std::to_string(*clip_frames) + " frames");
  }
}

}  // namespace

std::int64_t ConcatenateSegments(const std::vector<std::string>& names,
                                 const std::string& output_name) {
  std::vector<Segment> segments;
  for (const std::string& name : names) segments.push_back(OpenSegment(name));
  CheckSegmentsCoverRun(segments);

  Y4mHeader header = segments.front().header;
  header.line = HeaderWithSegmentTag(header.line, std::nullopt);
  OutputFile output(output_name);
  Y4mWriter writer(output, header);
  writer.WriteHeader();
  std::int64_t frames = 0;
  Y4mFrame frame;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const std::int64_t held = ReadSegment(names[k], [&](InputFile&, Y4mReader& reader) {
      while (reader.ReadFrame(frame)) {
        const InterruptDeferral whole_frame;
        writer.WriteFrame(frame);
        output.MarkFrameWritten();
        ++frames;
      }
      return reader.frames_read();
    });
    CheckLength(segments[k], held);
  }
  output.Commit();
  return frames;
}

}  // namespace velmire::cli
