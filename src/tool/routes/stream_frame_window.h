// The input frames of a run: a YUV4MPEG2 stream read as its frames are asked for, of which only
// a window of recent frames is kept, so memory does not grow with the clip. Frame numbers before
// the start give the first frame and numbers past the end the last one, the neighbours the
// filter uses at the ends of a clip. A stream that turns out to be broken simply ends before the
// broken frame; the error is kept for the caller to report once the good frames are out.
// A window may start at a later frame (for a segment of the clip): the frames before it are read
// and dropped, unless the reader was placed at it already. Safe to use from several threads.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "tool/y4m/byte_stream.h"
#include "tool/y4m/y4m_frame.h"
#include "tool/y4m/y4m_reader.h"

namespace velmire::cli {

class StreamFrameWindow {
 public:
  // Takes over the stream; the reader has read the header (or was placed at a frame). Frames
  // before `first_frame` are never held: asking for one throws, as for frames let go.
  StreamFrameWindow(std::unique_ptr<ByteSource> stream, std::unique_ptr<Y4mReader> reader,
                    std::int64_t first_frame = 0);

  const Y4mHeader& header() const { return header_; }
  // The clip's length when the input is a file (worked out from its size), else unknown.
  std::optional<std::int64_t> total_frames() const { return total_frames_; }

  // Whether the stream has a frame n (reads up to it).
  bool HasFrame(std::int64_t n);
  // Frame n, clamped to the frames the stream has (reads up to it); null when the stream has
  // none at all. Throws CliError when n was let go already.
  std::shared_ptr<const Y4mFrame> Frame(std::int64_t n);
  // Frames before n will not be asked for again and are let go.
  void ReleaseBefore(std::int64_t n);
  // The number of complete frames in the stream, once its end (or a break in it) was read.
  std::optional<std::int64_t> FramesInStream();
  // Why the stream ended early, if it did.
  std::optional<std::string> InputError();
  // Frames held at most at any one time so far.
  std::size_t PeakFramesHeld();

 private:
  void ReadUpTo(std::int64_t n);  // with mutex_ held
  bool ReadNext(Y4mFrame& frame);  // with mutex_ held; false at the end or a break

  std::unique_ptr<ByteSource> stream_;
  std::unique_ptr<Y4mReader> reader_;
  const Y4mHeader header_;
  const std::optional<std::int64_t> total_frames_;
  std::mutex mutex_;
  std::deque<std::shared_ptr<const Y4mFrame>> window_;
  std::int64_t first_held_ = 0;
  bool ended_ = false;
  std::optional<std::string> input_error_;
  std::size_t peak_held_ = 0;
};

}  // namespace velmire::cli
