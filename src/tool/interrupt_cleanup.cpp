#include "tool/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace velmire::cli {
namespace {

constexpr int kSlots = 8;
constexpr std::size_t kPathBytes = 4096;

// Written before a slot is marked in use and read only from the handler, which uses nothing
// but unlink(2) (async-signal-safe).
char g_paths[kSlots][kPathBytes];
std::atomic<bool> g_in_use[kSlots];
std::mutex g_slots_mutex;

void OnInterrupt(int signal_number) {
  for (int i = 0; i < kSlots; ++i) {
    if (g_in_use[i].load()) ::unlink(g_paths[i]);
  }
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

}  // namespace

void RemoveTemporariesOnInterrupt() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction action {};
      action.sa_handler = OnInterrupt;
      sigemptyset(&action.sa_mask);
      ::sigaction(signal_number, &action, nullptr);
    }
  });
}

int RememberTemporary(const std::string& path) {
  if (path.size() >= kPathBytes) return -1;
  std::lock_guard lock(g_slots_mutex);
  for (int i = 0; i < kSlots; ++i) {
    if (g_in_use[i].load()) continue;
    std::memcpy(g_paths[i], path.c_str(), path.size() + 1);
    g_in_use[i].store(true);
    return i;
  }
  return -1;
}

void ForgetTemporary(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  std::lock_guard lock(g_slots_mutex);
  g_in_use[slot].store(false);
}

}  // namespace velmire::cli
