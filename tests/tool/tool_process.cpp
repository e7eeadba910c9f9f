#include "tool/tool_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace velmire::cli::testing {

std::vector<std::string> ToolCommand() {
  std::vector<std::string> words;
  std::istringstream emulator(VELMIRE_TOOL_EMULATOR);  // words without spaces of their own
  for (std::string word; emulator >> word;) words.push_back(word);
  words.push_back(VELMIRE_TOOL_PATH);
  return words;
}

bool ToolRunsUnderEmulator() { return ToolCommand().size() > 1; }

std::string ToolCommandLine() {
  std::string line;
  for (const std::string& word : ToolCommand()) line += (line.empty() ? "" : " ") + word;
  return line;
}

std::string PluginPath() { return VELMIRE_PLUGIN_PATH; }

namespace {

struct ToolCall {
  std::vector<std::string> args;
  std::string stdin_path;
  Feeder feed;
  std::string stdout_path;
};

long PeakResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

ToolRun Spawn(const ToolCall& call) {
  TempDir scratch;
  const std::string err_path = scratch / "stderr";
  std::vector<std::string> argv_store = ToolCommand();
  argv_store.insert(argv_store.end(), call.args.begin(), call.args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_store) argv.push_back(a.data());
  argv.push_back(nullptr);

  int pipe_fds[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (call.feed) {
    if (::pipe(pipe_fds) != 0) return {};
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, call.stdin_path.c_str(), O_RDONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, call.stdout_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ToolRun run;
  if (call.feed) {
    ::close(pipe_fds[0]);
    if (spawned == 0) {
      // The feeder may find the pipe closed early; that must not end the test process.
      struct sigaction ignore {}, previous {};
      ignore.sa_handler = SIG_IGN;
      ::sigaction(SIGPIPE, &ignore, &previous);
      call.feed(pipe_fds[1], pid);
      ::sigaction(SIGPIPE, &previous, nullptr);
      run.peak_rss_kb = PeakResidentKiB(pid);
    }
    ::close(pipe_fds[1]);
  }
  if (spawned != 0) return run;
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  run.stderr_text = ReadFile(err_path);
  return run;
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& args, const std::string& stdin_path,
                const std::string& stdout_path) {
  return Spawn(ToolCall{args, stdin_path, nullptr, stdout_path});
}

ToolRun RunToolFeeding(const std::vector<std::string>& args, const Feeder& feed,
                       const std::string& stdout_path) {
  return Spawn(ToolCall{args, "/dev/null", feed, stdout_path});
}

int RunShell(const std::string& command) {
  const std::string quoted = "bash -c '" + command + "'";
  const int status = std::system(quoted.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TempDir::TempDir() {
  char pattern[] = "/tmp/velmire-test-XXXXXX";
  path_ = ::mkdtemp(pattern) ? pattern : "/tmp";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace velmire::cli::testing
