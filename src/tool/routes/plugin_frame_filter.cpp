// The tool's frames through a 2.5 plug-in library, loaded into the in-process host: the stream
// window becomes the plug-in's source clip, and the script function is called by name as a
// frame server would.
#include "host/script_environment.h"
#include "tool/routes/filter_invocation.h"
#include "tool/routes/frame_filter.h"
#include "tool/routes/host_frames.h"
#include "tool/routes/streaming_source_clip.h"
#include "tool/errors/cli_error.h"

namespace velmire::cli {
namespace {

// The 2.5 interface carries 8-bit YUY2, YV12 and I420 only.
void RequireEightBits(const FrameGeometry& g) {
  if (g.bits_per_sample == 8) return;
  throw CliError("plug-in: --plugin runs 8-bit video only (the 2.5 interface has no deeper "
                 "formats), and the input has " + std::to_string(g.bits_per_sample) +
                 " bits per sample; leave out --plugin to filter it with the built-in core");
}

class PluginFilter : public FrameFilter {
 public:
  PluginFilter(StreamFrameWindow& window, const Settings& settings, const std::string& path)
      : geometry_(window.header().geometry) {
    RequireEightBits(geometry_);
    env_.LoadPlugin(path);
    const PClip source(new StreamingSourceClip(window, env_));
    Settings debug = settings;
    debug.Debug = true;
    filtered_ = InvokeVelmire(env_, source, settings);
    debug_ = InvokeVelmire(env_, source, debug);
  }

  std::vector<std::uint8_t> Filter(std::int64_t n, bool debug) override {
    const PClip& clip = debug ? debug_ : filtered_;
    std::vector<std::uint8_t> bytes(geometry_.frame_bytes());
    FromHostFrame(*clip->GetFrame(static_cast<int>(n), &env_), geometry_, bytes.data());
    return bytes;
  }

 private:
  host::ScriptEnvironment env_;  // declared first: outlives the clips
  const FrameGeometry geometry_;
  PClip filtered_;
  PClip debug_;
};

}  // namespace

std::unique_ptr<FrameFilter> MakePluginFilter(StreamFrameWindow& window, const Settings& settings,
                                              const std::string& plugin_path) {
  return std::make_unique<PluginFilter>(window, settings, plugin_path);
}

}  // namespace velmire::cli
