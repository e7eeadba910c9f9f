// The source clip of the tool: serves frames of a YUV4MPEG2 stream to the filter, reading
// them as they are asked for and keeping only a window of recent frames. Frame numbers before
// the start get the first frame and numbers past the end the last one, as the frame server's
// sources do. A stream that turns out to be broken simply ends before the broken frame; the
// error is kept for the caller to report once the good frames are out.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "cli/byte_stream.h"
#include "cli/y4m_reader.h"
#include "host/plugin_interface.h"

namespace velmire::cli {

class StreamingSourceClip : public ClipBase {
 public:
  // Takes over the stream; the reader has read the header. `env` makes the frames and must
  // outlive the clip.
  StreamingSourceClip(std::unique_ptr<ByteSource> stream, std::unique_ptr<Y4mReader> reader,
                      IScriptEnvironment& env);

  PVideoFrame GetFrame(int n, IScriptEnvironment* env) override;
  bool VELMIRE_STDCALL GetParity(int n) override;
  void VELMIRE_STDCALL GetAudio(void*, int64_t, int64_t, IScriptEnvironment*) override {}
  const VideoInfo& VELMIRE_STDCALL GetVideoInfo() override { return vi_; }

  // Whether the stream has a frame n (reads up to it).
  bool HasFrame(std::int64_t n);
  // The FRAME line of a held frame n.
  std::string FrameLine(std::int64_t n);
  // Frames before n will not be asked for again and are let go.
  void ReleaseBefore(std::int64_t n);
  // Why the stream ended early, if it did.
  std::optional<std::string> InputError();
  // Frames held at most at any one time so far.
  std::size_t PeakFramesHeld();

 private:
  struct Held {
    PVideoFrame frame;
    std::string frame_line;
  };
  void ReadUpTo(std::int64_t n);  // with mutex_ held

  std::unique_ptr<ByteSource> stream_;
  std::unique_ptr<Y4mReader> reader_;
  IScriptEnvironment& env_;
  VideoInfo vi_;
  std::mutex mutex_;
  std::deque<Held> window_;
  std::int64_t first_held_ = 0;
  bool ended_ = false;
  std::optional<std::string> input_error_;
  Y4mFrame scratch_;
  std::size_t peak_held_ = 0;
};

}  // namespace velmire::cli
