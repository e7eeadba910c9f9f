// The output file: temporary name until commit, direct writing to pipes and devices, and
// clear messages for failed writes.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tool/errors/cli_error.h"
#include "tool/run/output_file.h"

namespace velmire::cli {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velmire-out-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::size_t Entries() const {
    return std::size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST_F(OutputFileTest, NewFileAppearsOnlyOnCommit) {
  const fs::path target = dir_ / "out.y4m";
  {
    OutputFile out(target.string());
    out.Write("abc", 3);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(fs::path(out.temporary_path()).parent_path(), dir_);
    out.Commit();
  }
  EXPECT_EQ(Slurp(target), "abc");
  EXPECT_EQ(Entries(), 1u);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_read, fs::perms::owner_read);
}

TEST_F(OutputFileTest, FailedRunKeepsTheOldFileAndLeavesNoTemporary) {
  const fs::path target = dir_ / "out.y4m";
  std::ofstream(target) << "old";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    OutputFile out(target.string());
    out.Write("new but unfinished", 18);
  }  // no commit: the run failed
  EXPECT_EQ(Slurp(target), "old");
  EXPECT_EQ(Entries(), 1u);
  {
    OutputFile out(target.string());
    out.Write("new", 3);
    out.Commit();
  }
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(OutputFileTest, WritesThroughSymbolicLinks) {
  fs::create_directories(dir_ / "links");
  fs::create_directories(dir_ / "store");
  struct Case {
    fs::path link_to;        // as stored in the link
    bool target_exists;
  };
  const Case cases[] = {
      {"../store/kept.y4m", true},         // relative to the link's folder
      {dir_ / "store" / "new.y4m", false},  // to a file not yet there
  };
  for (const Case& c : cases) {
    const fs::path link = dir_ / "links" / "out.y4m";
    const fs::path target = (dir_ / "links" / c.link_to).lexically_normal();
    if (c.target_exists) std::ofstream(target) << "old";
    fs::create_symlink(c.link_to, link);
    {
      OutputFile out(link.string());
      out.Write("new", 3);
      out.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(link)) << c.link_to;
    EXPECT_EQ(Slurp(target), "new") << c.link_to;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "links"), fs::directory_iterator()), 1);
    fs::remove(link);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "store"), fs::directory_iterator()), 2)
      << "a temporary was left beside the targets";
}

TEST_F(OutputFileTest, NamedPipeIsWrittenDirectlyNeverReplaced) {
  const fs::path fifo = dir_ / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = Slurp(fifo); });
  {
    OutputFile out(fifo.string());
    EXPECT_TRUE(out.temporary_path().empty());
    out.Write("through the pipe", 16);
    out.Commit();
  }
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(OutputFileTest, FailedWritesGiveOneClearLine) {
  // Disk full: a device, so it is written directly.
  try {
    OutputFile full("/dev/full");
    full.Write("x", 1);
    ADD_FAILURE() << "no error writing /dev/full";
  } catch (const OutputError& e) {
    EXPECT_STREQ(e.what(), "output: cannot write '/dev/full': No space left on device");
  }
  // Closed pipe: the reader is gone before the write.
  const fs::path fifo = dir_ / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, &previous);
  std::thread reader([&] { std::ifstream in(fifo); });  // opens, then closes at once
  try {
    OutputFile out(fifo.string());
    reader.join();
    out.Write("x", 1);
    ADD_FAILURE() << "no error writing into a closed pipe";
  } catch (const OutputError& e) {
    EXPECT_NE(std::string(e.what()).find("(broken pipe)"), std::string::npos) << e.what();
  }
  if (reader.joinable()) reader.join();
  ::sigaction(SIGPIPE, &previous, nullptr);
}

TEST_F(OutputFileTest, RefusesFoldersAndMissingFolders) {
  EXPECT_THROW(OutputFile folder(dir_.string()), OutputError);
  try {
    OutputFile missing((dir_ / "no" / "out.y4m").string());
    ADD_FAILURE();
  } catch (const OutputError& e) {
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
  }
}

}  // namespace
}  // namespace velmire::cli
