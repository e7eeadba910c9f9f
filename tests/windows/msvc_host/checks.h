// Test checks of the host: each failed check prints one line starting with "FAIL:".
#pragma once

namespace msvc {

void Check(bool ok, const char* format, ...);
int FailedChecks();
int PassedChecks();

// printf into a buffer of `size` bytes, always terminated.
void FormatText(char* out, unsigned size, const char* format, ...);

}  // namespace msvc
