#include "checks.h"

#include "runtime.h"

namespace msvc {
namespace {

int failed = 0;
int passed = 0;

}  // namespace

void FormatText(char* out, unsigned size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  _vsnprintf(out, size - 1, format, args);
  va_end(args);
  out[size - 1] = '\0';
}

void Check(bool ok, const char* format, ...) {
  if (ok) {
    ++passed;
    return;
  }
  ++failed;
  char line[512];
  va_list args;
  va_start(args, format);
  _vsnprintf(line, sizeof line - 1, format, args);
  va_end(args);
  line[sizeof line - 1] = '\0';
  printf("FAIL: %s\n", line);
}

int FailedChecks() { return failed; }
int PassedChecks() { return passed; }

}  // namespace msvc
