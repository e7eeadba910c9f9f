// Fuzzes the YUV4MPEG2 reader: headers and FRAME lines of any shape must either be refused with
// an input error or read; what is read must survive writing and reading again unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tool/errors/cli_error.h"
#include "tool/y4m/memory_stream.h"
#include "tool/y4m/y4m_reader.h"
#include "tool/y4m/y4m_writer.h"

namespace {

using namespace velmire::cli;

// Frames beyond this many are not read, so one input cannot run for long.
constexpr int kMaxFrames = 8;

std::vector<Y4mFrame> ReadAll(Y4mReader& reader) {
  std::vector<Y4mFrame> frames;
  Y4mFrame frame;
  while (static_cast<int>(frames.size()) < kMaxFrames && reader.ReadFrame(frame))
    frames.push_back(frame);
  return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StringSource source(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<Y4mFrame> frames;
  std::optional<Y4mReader> reader;
  try {
    reader.emplace(source);
    frames = ReadAll(*reader);
  } catch (const InputError&) {
    return 0;  // refused: the outcome for malformed input
  }

  StringSink sink;
  Y4mWriter writer(sink, reader->header());
  writer.WriteHeader();
  for (const Y4mFrame& frame : frames) writer.WriteFrame(frame);
  StringSource again(sink.bytes());
  Y4mReader second(again);
  const std::vector<Y4mFrame> reread = ReadAll(second);
  bool same = reread.size() == frames.size();
  for (size_t i = 0; same && i < frames.size(); ++i)
    same = reread[i].frame_line == frames[i].frame_line && reread[i].data == frames[i].data;
  if (!same) {
    std::fprintf(stderr, "frames changed when written and read again\n");
    std::abort();
  }
  return 0;
}
