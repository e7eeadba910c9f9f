// Memory does not grow with the length of the clip: a long clip streamed through the tool
// peaks at the same resident memory as a short one.
#include <unistd.h>

#include <string>

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

long PeakForFrames(int frames) {
  const std::string header = "YUV4MPEG2 W720 H480 F30000:1001 C420";
  const std::string one = PatternStream(header, 720 * 480 * 3 / 2, 1);
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
  const ToolRun run = RunToolFeeding({"-j", "2", "--plugin", PluginPath()}, feed);
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

}  // namespace
}  // namespace velmire::cli::testing
