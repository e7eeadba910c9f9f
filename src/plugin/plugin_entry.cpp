// The library's only export: registers the script function with the host.
#include "plugin/filter.h"

extern "C" VELMIRE_EXPORT const char* VELMIRE_STDCALL
AvisynthPluginInit2(velmire::IScriptEnvironment* env) {
  env->AddFunction(velmire::kFunctionName, velmire::kFunctionSignature,
                   velmire::CreateCrossColorFilter, nullptr);
  return nullptr;
}
