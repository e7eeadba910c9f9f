#include "tool/run/interrupt_cleanup.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace velmire::cli {
namespace {

// How long an interrupt waits for the frame being written. Writes to files finish in far less;
// a write blocked on a stalled pipe must not make the tool ignore Ctrl-C.
constexpr auto kWaitForWholeFrame = std::chrono::seconds(3);

std::atomic<bool> g_interrupted{false};
std::recursive_timed_mutex g_gate;
std::mutex g_outputs_mutex;
std::vector<InterruptibleOutput*> g_outputs;

sigset_t InterruptSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal_number);
  return set;
}

void WriteToStandardError(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const ssize_t n = ::write(STDERR_FILENO, text.data() + at, text.size() - at);
    if (n <= 0) return;
    at += std::size_t(n);
  }
}

[[noreturn]] void Watch() {
  const sigset_t signals = InterruptSignals();
  int signal_number = SIGINT;
  while (::sigwait(&signals, &signal_number) != 0) {
  }
  g_interrupted = true;
  const bool whole = g_gate.try_lock_for(kWaitForWholeFrame);
  std::string outcome;
  {
    std::lock_guard lock(g_outputs_mutex);
    for (InterruptibleOutput* output : g_outputs) {
      const std::string said = output->SettleOnInterrupt(whole);
      if (said.empty()) continue;
      if (!outcome.empty()) outcome += "; ";
      outcome += said;
    }
  }
  // Start on a line of its own after a progress line or the terminal's echo of ^C.
  if (::isatty(STDERR_FILENO)) WriteToStandardError("\n");
  WriteToStandardError(InterruptMessage(signal_number, outcome) + "\n");
  // End the process with the signal itself, as if it had not been caught.
  ::signal(signal_number, SIG_DFL);
  sigset_t just_this;
  sigemptyset(&just_this);
  sigaddset(&just_this, signal_number);
  ::pthread_sigmask(SIG_UNBLOCK, &just_this, nullptr);
  ::raise(signal_number);
  ::_exit(128 + signal_number);
}

const char* SignalName(int signal_number) {
  switch (signal_number) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
  }
}

}  // namespace

void HandleInterrupts() {
  static std::once_flag started;
  std::call_once(started, [] {
    const sigset_t signals = InterruptSignals();
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread(Watch).detach();
  });
}

void WatchOutput(InterruptibleOutput* output) {
  std::lock_guard lock(g_outputs_mutex);
  g_outputs.push_back(output);
}

void UnwatchOutput(InterruptibleOutput* output) {
  std::lock_guard lock(g_outputs_mutex);
  g_outputs.erase(std::remove(g_outputs.begin(), g_outputs.end(), output), g_outputs.end());
}

void WaitWhileInterrupted() {
  while (g_interrupted) std::this_thread::sleep_for(std::chrono::seconds(1));
}

InterruptDeferral::InterruptDeferral() { g_gate.lock(); }
InterruptDeferral::~InterruptDeferral() { g_gate.unlock(); }

std::string InterruptMessage(int signal_number, const std::string& outcome) {
  std::string line = "velmire: interrupted by ";
  line += SignalName(signal_number);
  if (!outcome.empty()) line += "; " + outcome;
  return line;
}

}  // namespace velmire::cli
