// Removal of unfinished temporary files when the tool is interrupted (Ctrl-C, kill): the
// signal handler deletes every registered temporary file, then lets the signal take its
// usual course.
#pragma once

#include <string>

namespace velmire::cli {

// Installs the handler for SIGINT, SIGTERM and SIGHUP (once; later calls do nothing).
void RemoveTemporariesOnInterrupt();

// Registers a temporary file for removal on interrupt; returns a slot for Forget, or -1 when
// no slot is free (the file is then simply not cleaned up on interrupt).
int RememberTemporary(const std::string& path);
void ForgetTemporary(int slot);

}  // namespace velmire::cli
