// The output stream. A named regular file is written under a temporary name in the same
// folder and renamed into place only by Commit(), so a failed run never leaves a half-written
// file under the user's name; the temporary is removed if the run does not commit. A name
// that exists and is not a regular file (a device, a named pipe) is written directly, and "-"
// is standard output. Video is never written to a terminal. If the program installed
// RemoveTemporariesOnInterrupt, an interrupt also removes the temporary.
#pragma once

#include <string>

#include "tool/y4m/byte_stream.h"

namespace velmire::cli {

class OutputFile : public ByteSink {
 public:
  // Throws OutputError when the output cannot be opened or is a terminal.
  explicit OutputFile(const std::string& name);
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes everything or throws OutputError (disk full, closed pipe, ...). Expects SIGPIPE to
  // be ignored, so that a closed pipe shows as an error here instead of ending the process.
  void Write(const void* src, std::size_t size) override;

  // Ends a successful run: closes the output and moves a temporary into place.
  void Commit();

  // The temporary file being written, or empty when the output is written directly.
  const std::string& temporary_path() const { return temporary_path_; }

 private:
  void OpenTemporary();
  void Discard() noexcept;

  std::string name_;
  std::string display_name_;
  std::string temporary_path_;
  int fd_ = -1;
  bool owned_ = false;
  bool finished_ = false;
  int interrupt_slot_ = -1;  // registration for removal of the temporary on Ctrl-C
};

}  // namespace velmire::cli
