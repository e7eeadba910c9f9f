// Progress on standard error: frames done and frames per second, plus percent and time left
// when the total is known. Updates are throttled and overwrite one line.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

namespace velmire::cli {

// Whether progress is shown when the command line does not say: when standard error is a
// terminal that no other program in a pipeline writes its own status to, that is, when neither
// standard input nor standard output is a pipe.
bool ProgressSuitsStandardError();

class ProgressReporter {
 public:
  using Clock = std::function<double()>;  // seconds from any fixed start

  static double SteadySeconds();

  ProgressReporter(std::ostream& out, std::optional<std::int64_t> total_frames,
                   Clock clock = &ProgressReporter::SteadySeconds, double interval_seconds = 0.5);

  // Text put before every report, as "segment 9000:9100" gives "segment 9000:9100: frame ...".
  void set_label(std::string label) { label_ = std::move(label); }

  // Reports `frames_done` unless the last report is less than the interval old.
  void Update(std::int64_t frames_done);
  // Reports the final count and ends the line.
  void Finish(std::int64_t frames_done);

  // The text of one report, without the leading carriage return.
  std::string Format(std::int64_t frames_done, double elapsed_seconds) const;

 private:
  void Print(std::int64_t frames_done, double now);

  std::ostream& out_;
  std::optional<std::int64_t> total_;
  std::string label_;
  Clock clock_;
  double interval_;
  double start_;
  std::optional<double> last_report_;
  std::size_t last_length_ = 0;
};

}  // namespace velmire::cli
