// CrossColorFilter: the clip returned by the script function. It holds the input clip, its
// format and the clamped settings, and builds every output frame from input frames n-1, n and
// n+1: luma untouched, chroma on steep fine luma detail replaced by its average with the best
// matching nearby block.
#pragma once

#include <cstdint>

#include "base/frame_view.h"
#include "base/settings.h"
#include "core/function_arguments.h"
#include "core/kernel_set.h"
#include "host/interface/plugin_interface.h"

namespace velmire {

// The four arguments of the 2.5 function (no Mode): "c[ThresholdY]i[Noise]i[Margin]i[Debug]b".
inline constexpr const char* kFunctionSignature = ScriptSignature<ScriptHost::kInterface25>();
inline constexpr const char* kFormatError = "%s : YUY2, YV12 only";

// The four script arguments, clamped once when the filter is built.
using FilterSettings = Settings;

// The formats the filter works on, tested by exact pixel type.
bool IsSupportedFormat(const VideoInfo& vi);

class CrossColorFilter : public GenericVideoFilter {
 public:
  // Refuses formats other than YUY2, YV12 and I420 through env->ThrowError; clamps the settings.
  CrossColorFilter(const PClip& input, int thresholdY, int noise, int margin, bool debug,
                   IScriptEnvironment* env);
  // The same with a chosen kernel set (tests and benchmarks compare sets).
  CrossColorFilter(const PClip& input, int thresholdY, int noise, int margin, bool debug,
                   IScriptEnvironment* env, const KernelSet& kernels);

  PVideoFrame GetFrame(int n, IScriptEnvironment* env) override;

  const FilterSettings& settings() const { return settings_; }
  const KernelSet& kernels() const { return *kernels_; }

  // Edge mask of one row, from ThresholdY and Margin.
  void BuildEdgeMaskYUY2(const uint8_t* srcRow, uint8_t* mask, int rowSize) const;
  void BuildEdgeMaskPlanar(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize) const;

  // Block difference trials with a running best.
  bool BlockSadPlanar(const uint8_t* cand, const uint8_t* refBlock, int shift, int* best) const;
  void BlockSadYUY2(const uint8_t* cand, const uint8_t* refBlock, int shift, int* best,
                    const uint8_t** bestPos) const;

  // The two frame passes: frames fetched through the host, the work done by the core.
  PVideoFrame ReduceCrossColorYUY2(int n, IScriptEnvironment* env);
  PVideoFrame ReduceCrossColorPlanar(int n, IScriptEnvironment* env);

 private:
  // Builds output frame n of a clip of `format` with the core's ReduceCrossColor.
  PVideoFrame ReduceFrame(int n, const SampleFormat& format, IScriptEnvironment* env);

  FilterSettings settings_;
  const KernelSet* kernels_;
};

// The creation callback registered for the script function.
AVSValueRaw* VELMIRE_CDECL CreateCrossColorFilter(AVSValueRaw* result, AVSValueRaw args,
                                                  void* user_data, IScriptEnvironment* env);

}  // namespace velmire
