// velmire --demo: runs, writes its files, and reports a lower chroma error after filtering.
#include <filesystem>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "tool/test_streams.h"
#include "tool/tool_process.h"

namespace velmire::cli::testing {
namespace {

TEST(DemoRun, FilteringLowersTheChromaErrorOfBothVariants) {
  TempDir dir;
  const std::string demo = dir / "demo";
  const ToolRun run = RunTool({"--demo", demo, "--plugin", PluginPath()}, "/dev/null", dir / "report.txt");
  ASSERT_EQ(run.exit_code, 0) << run.stderr_text;
  const std::string report = ReadFile(dir / "report.txt");
  std::cout << report;

  const std::regex figures(R"(before ([0-9.]+), after ([0-9.]+))");
  int variants = 0;
  for (auto it = std::sregex_iterator(report.begin(), report.end(), figures);
       it != std::sregex_iterator(); ++it, ++variants) {
    const double before = std::stod((*it)[1]), after = std::stod((*it)[2]);
    EXPECT_GT(before, 2.0) << "the demo clip has little cross-colour";
    EXPECT_LT(after, before);
  }
  EXPECT_EQ(variants, 2);
  EXPECT_NE(report.find("60 frames filtered"), std::string::npos);
  for (const char* name : {"input-422.y4m", "output-422.y4m", "compare-422.png", "input-420.y4m",
                           "output-420.y4m", "compare-420.png"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(demo + "/" + name)) << name;
  }
  const ParsedStream out = ParseStream(ReadFile(demo + "/output-420.y4m"));
  EXPECT_EQ(out.frames.size(), 60u);
}

}  // namespace
}  // namespace velmire::cli::testing
