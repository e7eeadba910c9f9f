// Progress lines: content with and without a known total or a label, and throttling.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tool/run/progress_reporter.h"

namespace velmire::cli {
namespace {

TEST(ProgressReporter, FormatsWithAndWithoutATotal) {
  std::ostringstream out;
  const ProgressReporter known(out, 1000, [] { return 0.0; });
  EXPECT_EQ(known.Format(250, 10.0), "frame 250 of 1000 (25.0%), 25.0 fps, 0:30 left");
  EXPECT_EQ(known.Format(0, 0.0), "frame 0 of 1000 (0.0%), 0.0 fps, ? left");
  const ProgressReporter long_clip(out, 200000, [] { return 0.0; });
  EXPECT_EQ(long_clip.Format(1000, 40.0), "frame 1000 of 200000 (0.5%), 25.0 fps, 2:12:40 left");
  const ProgressReporter unknown(out, std::nullopt, [] { return 0.0; });
  EXPECT_EQ(unknown.Format(90, 3.0), "frame 90, 30.0 fps");
  ProgressReporter segment(out, 100, [] { return 0.0; });
  segment.set_label("segment 9000:9100");
  EXPECT_EQ(segment.Format(12, 1.0),
            "segment 9000:9100: frame 12 of 100 (12.0%), 12.0 fps, 0:07 left");
}

TEST(ProgressReporter, ThrottlesUpdatesAndEndsTheLine) {
  std::ostringstream out;
  double now = 100.0;
  ProgressReporter progress(out, std::nullopt, [&] { return now; }, 0.5);
  progress.Update(1);  // too soon after the start
  EXPECT_EQ(out.str(), "");
  now = 100.6;
  progress.Update(30);
  EXPECT_EQ(out.str(), "\rframe 30, 50.0 fps");
  now = 100.8;
  progress.Update(40);  // too soon after the last report
  EXPECT_EQ(out.str(), "\rframe 30, 50.0 fps");
  now = 102.0;
  progress.Finish(100);
  EXPECT_EQ(out.str(), "\rframe 30, 50.0 fps\rframe 100, 50.0 fps\n");
}

}  // namespace
}  // namespace velmire::cli
