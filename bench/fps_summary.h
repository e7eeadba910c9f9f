// Google Benchmark's console output, plus a table of frames per second by format and content
// with the ratios the speed targets are stated in.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace velmire::bench {

// Benchmark names are "<format>/<content>/<path>"; the paths are "copy", "portable" and the
// vector kernel set names.
std::string BenchName(const std::string& format, const std::string& content,
                      const std::string& path);

class FpsSummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;

  // One line per format and content: copy, portable and vector frames per second, the vector
  // path's speed-up over the portable one, and the pass's time as a multiple of the copy's.
  void PrintSummary(std::ostream& out, const std::vector<std::string>& formats,
                    const std::vector<std::string>& contents, const std::string& vectorPath) const;

  // One line per row: the frames per second of two benchmarks and the second's speed as a
  // share of the first's (the speed targets that compare two paths: 10-bit against 8-bit,
  // planar 4:2:2 against YUY2, the stronger mode against mode 0).
  struct Comparison {
    std::string label;
    std::string baseline;  // benchmark names
    std::string measured;
  };
  void PrintComparison(std::ostream& out, const std::string& baselineTitle,
                       const std::string& measuredTitle,
                       const std::vector<Comparison>& rows) const;

 private:
  // Frames per second of a benchmark; with repetitions, their median.
  double Fps(const std::string& name) const;

  // Frames per second of each run, by benchmark name.
  std::map<std::string, std::vector<double>> fps_;
};

}  // namespace velmire::bench
