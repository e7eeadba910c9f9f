// Command-line parsing: values, forms of writing them, and the refusals.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool/errors/cli_error.h"
#include "tool/cli/cli_options.h"

namespace velmire::cli {
namespace {

CliOptions Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CliOptions, ReadsEveryOptionInEachSpelling) {
  const CliOptions o = Parse({"--threshold-y", "12", "--noise=-7", "--margin", "99999999999",
                              "--debug", "-j3", "--plugin", "/x/libvelmire.so", "--compare",
                              "5:pic.png", "--no-progress", "in.y4m", "-"});
  EXPECT_EQ(o.settings.ThresholdY, 12);
  EXPECT_EQ(o.settings.Noise, -7);  // out of range: passed on for the filter to clamp
  EXPECT_EQ(o.settings.Margin, 2147483647);
  EXPECT_TRUE(o.settings.Debug);
  EXPECT_EQ(o.threads, 3);
  EXPECT_EQ(o.plugin_path, "/x/libvelmire.so");
  ASSERT_TRUE(o.compare.has_value());
  EXPECT_EQ(o.compare->frame, 5);
  EXPECT_EQ(o.compare->path, "pic.png");
  EXPECT_EQ(o.progress, false);
  EXPECT_EQ(o.input, "in.y4m");
  EXPECT_EQ(o.output, "-");

  EXPECT_EQ(Parse({"--threads", "4"}).threads, 4);
  EXPECT_EQ(Parse({"-j", "2", "--progress"}).progress, true);
  EXPECT_EQ(Parse({"--", "-weird-name.y4m"}).input, "-weird-name.y4m");
  EXPECT_EQ(Parse({"--compare", "0:a:b.png"}).compare->path, "a:b.png");

  const CliOptions segment = Parse({"--frames", "5:9", "--compare", "8:c.png"});
  EXPECT_EQ(segment.frames->first, 5);
  EXPECT_EQ(segment.frames->end, 9);
  EXPECT_EQ(Parse({"--frames=7:"}).frames->end, std::nullopt);
  const CliOptions concat = Parse({"--concat", "a.y4m", "b.y4m", "c.y4m", "-j2"});
  EXPECT_EQ(concat.action, CliAction::kConcat);
  EXPECT_EQ(concat.segments, (std::vector<std::string>{"a.y4m", "b.y4m", "c.y4m"}));
}

TEST(CliOptions, ActionsHelpVersionAndDemo) {
  EXPECT_EQ(Parse({"in.y4m", "-h"}).action, CliAction::kHelp);
  EXPECT_EQ(Parse({"--help", "--bogus"}).action, CliAction::kHelp);
  EXPECT_EQ(Parse({"--version"}).action, CliAction::kVersion);
  const CliOptions plain = Parse({"--demo"});
  EXPECT_EQ(plain.action, CliAction::kDemo);
  EXPECT_EQ(plain.demo_dir, "velmire-demo");
  EXPECT_EQ(Parse({"--demo", "out", "-j", "2"}).demo_dir, "out");
  EXPECT_EQ(Parse({"--demo", "-j", "2"}).demo_dir, "velmire-demo");
  EXPECT_EQ(Parse({"--demo=/tmp/d"}).demo_dir, "/tmp/d");

  const CliOptions sweep = Parse({"--demo", "out", "--sweep", "-j2"});
  EXPECT_EQ(sweep.action, CliAction::kSweep);
  EXPECT_EQ(sweep.demo_dir, "out");
  EXPECT_TRUE(sweep.sweep_grid.empty());  // the built-in grid
  const CliOptions reduced = Parse({"--sweep-grid=20:120:2,45:30:0", "--demo"});
  EXPECT_EQ(reduced.action, CliAction::kSweep);
  ASSERT_EQ(reduced.sweep_grid.size(), 2u);
  EXPECT_EQ(reduced.sweep_grid[1], (Settings{45, 30, 0, false}));
  EXPECT_FALSE(UsageText().empty());
}

TEST(CliOptions, RefusesWithOneClearLine) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option '--bogus' (see velmire --help)"},
      {{"-x"}, "unknown option '-x'"},
      {{"-hx"}, "unknown option '-hx'"},
      {{"--threshold-y", "abc"}, "option --threshold-y needs an integer, not 'abc'"},
      {{"--noise", "1.5"}, "needs an integer, not '1.5'"},
      {{"--margin", ""}, "needs an integer, not ''"},
      {{"--margin=3x"}, "needs an integer, not '3x'"},
      {{"--noise"}, "option --noise needs a value"},
      {{"-j", "0"}, "option -j must be between 1 and 256, not 0"},
      {{"--threads", "1000"}, "must be between 1 and 256"},
      {{"-jfour"}, "option -j needs an integer, not 'four'"},
      {{"--compare", "pic.png"}, "option --compare needs FRAME:FILE.png"},
      {{"--compare", "-1:pic.png"}, "needs FRAME:FILE.png"},
      {{"--compare", "3:"}, "needs FRAME:FILE.png"},
      {{"--debug=yes"}, "option --debug takes no value"},
      {{"a", "b", "c"}, "too many arguments: 'c'"},
      {{"--demo", "d", "in.y4m"}, "--demo takes no INPUT or OUTPUT"},
      {{"in.y4m", "--demo"}, "--demo takes no INPUT or OUTPUT"},
      {{"--sweep"}, "--sweep runs on the demo clip"},
      {{"--sweep-grid", "30:60:1", "in.y4m"}, "--sweep runs on the demo clip"},
      {{"--demo", "--sweep", "--noise", "90"}, "--sweep chooses the filter settings itself"},
      {{"--debug", "--demo", "--sweep"}, "--sweep chooses the filter settings itself"},
      {{"--sweep=yes", "--demo"}, "option --sweep takes no value"},
      {{"--demo", "--sweep-grid", "30:60"}, "option --sweep-grid needs T:N:M"},
      {{"--frames", "5"}, "option --frames needs A:B (frames A to B-1, counted from 0)"},
      {{"--frames", "-1:4"}, "option --frames needs A:B"},
      {{"--frames", "+3:5"}, "option --frames needs A:B"},
      {{"--frames", "3:+5"}, "option --frames needs A:B"},
      {{"--frames", " 3:5"}, "option --frames needs A:B"},
      {{"--frames", "3:x"}, "option --frames needs A:B"},
      {{"--frames", "99999999999999999999:"}, "option --frames takes frame numbers up to"},
      {{"--frames", "5:5"}, "--frames 5:5 is empty"},
      {{"--frames", "9:5"}, "--frames 9:5 is reversed"},
      {{"--frames", "2:5", "--compare", "5:c.png"}, "--compare frame 5 is not among --frames 2:5"},
      {{"--frames", "5:", "--compare", "4:c.png"}, "--compare frame 4 is not among --frames 5:"},
      {{"--concat"}, "--concat needs the segment files"},
      {{"--concat", "--margin", "2", "a.y4m"}, "--concat only joins streams already filtered"},
      {{"--concat", "--frames", "0:5", "a.y4m"}, "--concat only joins streams already filtered"},
  };
  for (const Case& c : cases) {
    try {
      Parse(c.args);
      ADD_FAILURE() << "accepted: " << c.args[0];
    } catch (const UsageError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace velmire::cli
