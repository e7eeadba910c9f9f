#include "fps_summary.h"

#include <algorithm>
#include <cstdio>

namespace velmire::bench {

std::string BenchName(const std::string& format, const std::string& content,
                      const std::string& path) {
  return format + "/" + content + "/" + path;
}

void FpsSummaryReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
    const auto counter = run.counters.find("fps");
    if (counter == run.counters.end()) continue;
    fps_[run.run_name.function_name].push_back(counter->second.value);
  }
}

double FpsSummaryReporter::Fps(const std::string& name) const {
  const auto it = fps_.find(name);
  if (it == fps_.end()) return 0.0;
  std::vector<double> runs = it->second;
  std::sort(runs.begin(), runs.end());
  const size_t middle = runs.size() / 2;
  return runs.size() % 2 == 1 ? runs[middle] : (runs[middle - 1] + runs[middle]) / 2;
}

void FpsSummaryReporter::PrintSummary(std::ostream& out, const std::vector<std::string>& formats,
                                      const std::vector<std::string>& contents,
                                      const std::string& vectorPath) const {
  char line[256];
  std::snprintf(line, sizeof line, "\n%-20s %-8s %10s %10s %10s %10s %10s\n", "frames/s", "content",
                "copy", "portable", vectorPath.c_str(), "speed-up", "pass/copy");
  out << line;
  for (const std::string& format : formats) {
    for (const std::string& content : contents) {
      const double copy = Fps(BenchName(format, content, "copy"));
      const double portable = Fps(BenchName(format, content, "portable"));
      const double vector = Fps(BenchName(format, content, vectorPath));
      if (copy == 0 && portable == 0 && vector == 0) continue;  // filtered out of this run
      const double speedUp = portable > 0 ? vector / portable : 0;
      const double passOverCopy = vector > 0 ? copy / vector : 0;
      std::snprintf(line, sizeof line, "%-20s %-8s %10.1f %10.1f %10.1f %9.2fx %9.2fx\n",
                    format.c_str(), content.c_str(), copy, portable, vector, speedUp, passOverCopy);
      out << line;
    }
  }
}

void FpsSummaryReporter::PrintComparison(std::ostream& out, const std::string& baselineTitle,
                                         const std::string& measuredTitle,
                                         const std::vector<Comparison>& rows) const {
  char line[256];
  std::snprintf(line, sizeof line, "\n%-32s %14s %14s %8s\n", "", baselineTitle.c_str(),
                measuredTitle.c_str(), "ratio");
  out << line;
  for (const Comparison& row : rows) {
    const double baseline = Fps(row.baseline);
    const double measured = Fps(row.measured);
    if (baseline == 0 || measured == 0) continue;  // filtered out of this run
    std::snprintf(line, sizeof line, "%-32s %14.1f %14.1f %7.2fx\n", row.label.c_str(), baseline,
                  measured, measured / baseline);
    out << line;
  }
}

}  // namespace velmire::bench
