// The tool's frames through the filter core.
#include "core/cross_color.h"
#include "tool/routes/stream_frame_filter.h"
#include "tool/routes/frame_filter.h"
#include "tool/errors/cli_error.h"

namespace velmire::cli {
namespace {

void RequireSupportedFormat(const FrameGeometry& g) {
  if (IsSupportedFormat(StreamSampleFormat(g))) return;
  throw InputError(std::string("input: the filter core of this build does not filter ") +
                   (g.layout == ChromaLayout::k422 ? "4:2:2" : "4:2:0") + " video at " +
                   std::to_string(g.bits_per_sample) + " bits per sample");
}

class CoreFilter : public FrameFilter {
 public:
  CoreFilter(StreamFrameWindow& window, const Settings& settings, const KernelSet& kernels)
      : window_(window),
        settings_(Settings::Clamped(settings)),
        kernels_(kernels) {
    RequireSupportedFormat(window.header().geometry);
  }

  std::vector<std::uint8_t> Filter(std::int64_t n, bool debug) override {
    const auto previous = window_.Frame(n - 1);
    const auto current = window_.Frame(n);
    const auto next = window_.Frame(n + 1);
    if (!current) throw CliError("source: the stream has no frame " + std::to_string(n));
    Settings settings = settings_;
    settings.Debug = settings.Debug || debug;
    // Frames n-2 and n+2 only where both exist (base/frame_view.h says why).
    if (settings.FramesEitherSide() == 2 && n >= 2 && window_.HasFrame(n + 2)) {
      const auto before2 = window_.Frame(n - 2);
      const auto after2 = window_.Frame(n + 2);
      return FilterStreamFrame(window_.header().geometry, settings, kernels_,
                               previous->data.data(), current->data.data(), next->data.data(),
                               before2->data.data(), after2->data.data());
    }
    return FilterStreamFrame(window_.header().geometry, settings, kernels_,
                             previous->data.data(), current->data.data(), next->data.data());
  }

 private:
  StreamFrameWindow& window_;
  const Settings settings_;
  const KernelSet& kernels_;
};

}  // namespace

std::unique_ptr<FrameFilter> MakeCoreFilter(StreamFrameWindow& window, const Settings& settings,
                                            const KernelSet& kernels) {
  return std::make_unique<CoreFilter>(window, settings, kernels);
}

}  // namespace velmire::cli
