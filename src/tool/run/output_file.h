// The output stream. A named regular file is written under a temporary name beside it and
// renamed into place only by Commit(), so a failed run never leaves a half-written file under
// the user's name and never touches a file that was there before; the temporary is removed if
// the run does not commit. A name that is a symbolic link is written through: the temporary
// goes beside the file the link leads to and replaces that file. A name that exists and is not
// a regular file (a device, a named pipe) is written directly, and "-" is standard output.
// Video is never written to a terminal.
//
// When the run is interrupted (see HandleInterrupts), the output settles what it keeps: a file
// that existed before stays unchanged; a new file keeps the complete frames written so far, as
// a valid stream; frames written directly are reported.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "tool/y4m/byte_stream.h"
#include "tool/run/interrupt_cleanup.h"

namespace velmire::cli {

class OutputFile : public ByteSink, private InterruptibleOutput {
 public:
  // Throws OutputError when the output cannot be opened or is a terminal. With an
  // `incomplete_reason`, for output of no use unless whole, an interrupt removes a new file
  // instead of keeping its complete frames, and the message ends with the reason in brackets.
  explicit OutputFile(const std::string& name, std::string incomplete_reason = "");
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes everything or throws OutputError (disk full, closed pipe, ...). Expects SIGPIPE to
  // be ignored, so that a closed pipe shows as an error here instead of ending the process.
  void Write(const void* src, std::size_t size) override;

  // Records that everything written so far is the header and whole frames, one more than
  // before; what an interrupt keeps of a new file, and reports. Call it with the frame's
  // writing under an InterruptDeferral.
  void MarkFrameWritten() { frames_written_.fetch_add(1); }

  // Ends a successful run: closes the output and moves a temporary into place.
  void Commit();

  // As messages name it: "'NAME'" or "standard output".
  const std::string& display_name() const { return display_name_; }
  // The temporary file being written, or empty when the output is written directly.
  const std::string& temporary_path() const { return temporary_path_; }

 private:
  enum class State { kOpen, kCommitted, kDiscarded };

  void Open();
  void OpenTemporary();
  void Discard() noexcept;
  std::string SettleOnInterrupt(bool whole) noexcept override;

  std::string name_;
  std::string target_;  // name_ with symbolic links followed: the file replaced on commit
  std::string display_name_;
  std::string temporary_path_;
  int fd_ = -1;
  bool owned_ = false;
  bool replaces_existing_ = false;  // the temporary will replace a file that exists
  std::string incomplete_reason_;   // set: an interrupt keeps no frames of a new file
  std::atomic<State> state_{State::kOpen};
  std::atomic<std::int64_t> frames_written_{0};
};

}  // namespace velmire::cli
