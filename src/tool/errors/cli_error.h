// Error types of the command-line tool. Each carries one complete, user-facing line; the tool
// prints it as is and exits non-zero. The kind tells the caller which exit status to use.
#pragma once

#include <stdexcept>
#include <string>

namespace velmire::cli {

class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The input stream is unreadable, malformed or in a format the tool does not handle.
class InputError : public CliError {
 public:
  using CliError::CliError;
};

// Writing the output (video or picture) failed.
class OutputError : public CliError {
 public:
  using CliError::CliError;
};

// The command line is wrong.
class UsageError : public CliError {
 public:
  using CliError::CliError;
};

}  // namespace velmire::cli
