#include <new>

#include "plugin/filter.h"

namespace velmire {
namespace {

// Reads the optional arguments; an argument of another type (or omitted) takes its default.
Settings ReadArguments(const AVSValue& args) {
  Settings settings;
  int index = 1;  // the clip is argument 0
  for (const FunctionArgument& argument : kFunctionArguments) {
    if (!argument.OfferedBy(ScriptHost::kInterface25)) continue;
    const int fallback = argument.range.defaultValue;
    argument.Store(settings, argument.type == ArgumentType::kFlag
                                 ? args[index].AsBool(fallback != 0)
                                 : args[index].AsInt(fallback));
    ++index;
  }
  return settings;
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
    const Settings a = ReadArguments(args);
    const PClip clip = args[0].AsClip();
    supported = clip && IsSupportedFormat(clip->GetVideoInfo());
    if (supported) {
      filter = new (std::nothrow)
          CrossColorFilter(clip, a.ThresholdY, a.Noise, a.Margin, a.Debug, env);
      allocated = filter != nullptr;
    }
  }
  if (!supported) env->ThrowError(kFormatError, kFunctionName);
  if (!allocated) env->ThrowError("%s : not enough memory for the filter", kFunctionName);
  *result = AVSValue(static_cast<IClip*>(filter)).Release();
  return result;
}

}  // namespace velmire
