// Memory does not grow with the length of the clip: a long clip streamed through the tool
// peaks at the same resident memory as a short one. Nor with the thread count beyond what the
// memory budget for frames allows.
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/test_streams.h"
#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;  // the sanitizers hold freed memory back for a while
#else
constexpr bool kSanitized = false;
#endif

long PeakForFrames(int frames, std::vector<std::string> options = {"-j", "2"},
                   const std::string& header = "YUV4MPEG2 W720 H480 F30000:1001 C420",
                   std::size_t frame_bytes = 720 * 480 * 3 / 2) {
  const std::string one = PatternStream(header, frame_bytes, 1);
  const std::string frame = one.substr(header.size() + 1);
  auto feed = [&](int fd, int) {
    auto write_all = [fd](const std::string& bytes) {
      for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (n <= 0) return false;
        at += std::size_t(n);
      }
      return true;
    };
    if (!write_all(header + "\n")) return;
    for (int i = 0; i < frames; ++i) {
      if (!write_all(frame)) return;
    }
  };
  options.insert(options.end(), {"--plugin", PluginPath()});
  const ToolRun run = RunToolFeeding(options, feed);
  EXPECT_EQ(run.exit_code, 0) << run.stderr_text;
  return run.peak_rss_kb;
}

TEST(MemoryBound, LongClipPeaksAtTheSameMemoryAsAShortOne) {
  if (kSanitized) GTEST_SKIP() << "peak memory is not meaningful under sanitizers";
  // 100 frames are 52 MB of video, 2000 frames 1 GB; the peak stays near 12 MB for both.
  // How many frames are in flight at the worst moment varies from run to run by a few
  // (half a megabyte each), hence the margin; any per-frame growth would exceed it.
  const long short_peak = PeakForFrames(100);
  const long long_peak = PeakForFrames(2000);
  std::cout << "peak resident memory: 100 frames " << short_peak << " KiB, 2000 frames "
            << long_peak << " KiB\n";
  EXPECT_GT(short_peak, 0);
  EXPECT_LT(long_peak, short_peak + 4096) << "memory grew with the clip";
}

TEST(MemoryBound, ManyThreadsOnLargeFramesKeepToTheMemoryBudget) {
  if (kSanitized) GTEST_SKIP() << "peak memory is not meaningful under sanitizers";
  // 720x480 4:2:2 frames are 675 KiB; 8 MiB holds the frames of two threads (12) but not of
  // three, so 64 threads within it peak as two do, not at the ~200 MB they would take.
  const std::string header = "YUV4MPEG2 W720 H480 F30000:1001 C422";
  const long two_threads = PeakForFrames(300, {"-j", "2"}, header, 720 * 480 * 2);
  const long bounded = PeakForFrames(300, {"-j", "64", "--max-memory", "8"}, header, 720 * 480 * 2);
  std::cout << "peak resident memory: -j 2 " << two_threads << " KiB, -j 64 in 8 MiB " << bounded
            << " KiB\n";
  EXPECT_LT(bounded, two_threads + 4096) << "more frames were held than the budget allows";
}

}  // namespace
}  // namespace velmire::cli::testing
