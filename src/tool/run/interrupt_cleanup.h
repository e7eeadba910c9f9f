// What the tool does when it is interrupted (SIGINT, SIGTERM, SIGHUP). The signals are blocked
// in every thread and taken by one watcher thread, which waits for the frame being written to
// be complete, lets each output being written settle what it keeps, prints one line saying
// what happened and where the frames are, and then ends the process with the same signal (the
// shell shows status 128 + the signal number: 130 for Ctrl-C).
#pragma once

#include <string>

namespace velmire::cli {

// Starts the watcher. Call at the start of main, before any other thread exists, so that every
// thread inherits the blocked signals; later calls do nothing.
void HandleInterrupts();

// An output with something to settle when the run is interrupted.
class InterruptibleOutput {
 public:
  // Called on the watcher's thread just before the process ends. `whole` is true when no frame
  // is being written (false only when a write did not finish within a few seconds). Returns
  // what became of the output, as part of the message (empty: nothing to say).
  virtual std::string SettleOnInterrupt(bool whole) noexcept = 0;

 protected:
  ~InterruptibleOutput() = default;
};

// Outputs are watched from construction to destruction.
void WatchOutput(InterruptibleOutput* output);
void UnwatchOutput(InterruptibleOutput* output);

// While one exists (on any thread), an interrupt waits: hold one while writing a frame and
// while putting a finished output in place. Nesting on one thread is allowed.
class InterruptDeferral {
 public:
  InterruptDeferral();
  ~InterruptDeferral();
  InterruptDeferral(const InterruptDeferral&) = delete;
  InterruptDeferral& operator=(const InterruptDeferral&) = delete;
};

// Returns at once, unless an interrupt is being handled: then it waits for the process to end.
void WaitWhileInterrupted();

// The line printed for an interrupt by `signal_number`, given what the outputs said.
std::string InterruptMessage(int signal_number, const std::string& outcome);

}  // namespace velmire::cli
