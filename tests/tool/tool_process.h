// Runs the velmire program (or a shell pipeline) from a test and collects what it did.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmire::cli::testing {

// The built program as the words that start it: in a cross build the emulator's command
// (qemu-aarch64 and its options) comes first, since the machine may not start the target's
// programs by itself. ToolCommandLine() is the same for a shell command.
std::vector<std::string> ToolCommand();
std::string ToolCommandLine();
bool ToolRunsUnderEmulator();
// The built plug-in, as the build passes it in.
std::string PluginPath();

struct ToolRun {
  int exit_code = -1;     // -1 if the program did not exit normally
  int signal = 0;         // the signal that ended it, if one did
  std::string stderr_text;
  // Peak resident memory of the program (VmHWM) once all its input was fed, while its
  // standard input is still open; only for RunToolFeeding. (The kernel's own figure for a
  // child includes the memory of the parent that spawned it.)
  long peak_rss_kb = 0;
};

// Runs the program with `args` (after the program name), standard input and output
// redirected to the named files.
ToolRun RunTool(const std::vector<std::string>& args, const std::string& stdin_path = "/dev/null",
                const std::string& stdout_path = "/dev/null");

// The same with standard input a pipe that `feed` writes into; it also gets the program's
// process id.
using Feeder = std::function<void(int fd, int pid)>;
ToolRun RunToolFeeding(const std::vector<std::string>& args, const Feeder& feed,
                       const std::string& stdout_path = "/dev/null");

// Runs `command` with bash; returns its exit status.
int RunShell(const std::string& command);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// A fresh folder under /tmp, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace velmire::cli::testing
