// What makes the tool's output frames from a stream window: the filter core itself, or a 2.5
// plug-in library run through the in-process host (--plugin, for checking a built library
// against the core). Both give the same bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/settings.h"
#include "core/kernel_set.h"
#include "tool/routes/stream_frame_window.h"

namespace velmire::cli {

class FrameFilter {
 public:
  virtual ~FrameFilter() = default;
  // Output frame n of the stream in stream order: filtered with the run's settings, or with the
  // mask painted instead (`debug`). Safe to call from several threads for different frames.
  virtual std::vector<std::uint8_t> Filter(std::int64_t n, bool debug) = 0;
};

// `settings` are clamped here, as every front-end clamps them. The window must outlive the
// filter.
std::unique_ptr<FrameFilter> MakeCoreFilter(StreamFrameWindow& window, const Settings& settings,
                                            const KernelSet& kernels);

// Loads the library and calls its script function with `settings` as given (the plug-in
// clamps them). Throws host::HostError or CliError.
std::unique_ptr<FrameFilter> MakePluginFilter(StreamFrameWindow& window, const Settings& settings,
                                              const std::string& plugin_path);

}  // namespace velmire::cli
