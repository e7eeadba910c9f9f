#include <new>

#include "plugin/filter.h"

namespace velmire {
namespace {

struct Arguments {
  int thresholdY;
  int noise;
  int margin;
  bool debug;
};

// Reads the optional arguments; an argument of another type (or omitted) takes its default.
Arguments ReadArguments(const AVSValue& args) {
  return Arguments{args[1].AsInt(kThresholdY.defaultValue), args[2].AsInt(kNoise.defaultValue),
                   args[3].AsInt(kMargin.defaultValue), args[4].AsBool(false)};
}

}  // namespace

// An error raised by the host passes through this module's frames without running their
// destructors, so every handle is released before ThrowError is called.
AVSValueRaw* VELMIRE_CDECL CreateCrossColorFilter(AVSValueRaw* result, AVSValueRaw rawArgs,
                                                  void*, IScriptEnvironment* env) {
  CrossColorFilter* filter = nullptr;
  bool supported = false;
  bool allocated = false;
  {
    const AVSValue args = AVSValue::Adopt(rawArgs);
    const Arguments a = ReadArguments(args);
    const PClip clip = args[0].AsClip();
    supported = clip && IsSupportedFormat(clip->GetVideoInfo());
    if (supported) {
      filter = new (std::nothrow)
          CrossColorFilter(clip, a.thresholdY, a.noise, a.margin, a.debug, env);
      allocated = filter != nullptr;
    }
  }
  if (!supported) env->ThrowError(kFormatError, kFunctionName);
  if (!allocated) env->ThrowError("%s : not enough memory for the filter", kFunctionName);
  *result = AVSValue(static_cast<IClip*>(filter)).Release();
  return result;
}

}  // namespace velmire
