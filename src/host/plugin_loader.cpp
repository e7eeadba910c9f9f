#include "host/plugin_loader.h"

#include "host/host_error.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace velmire::host {
namespace {

constexpr const char* kEntryNames[] = {"AvisynthPluginInit2", "_AvisynthPluginInit2@4"};

}  // namespace

#if defined(_WIN32)

PluginInitFunc OpenPluginLibrary(const std::string& path) {
  HMODULE library = LoadLibraryA(path.c_str());
  if (!library)
    throw HostError("cannot load plug-in \"" + path + "\" (Windows error " +
                    std::to_string(GetLastError()) + ")");
  for (const char* name : kEntryNames) {
    if (FARPROC entry = GetProcAddress(library, name))
      return reinterpret_cast<PluginInitFunc>(reinterpret_cast<void*>(entry));
  }
  FreeLibrary(library);
  throw HostError("\"" + path + "\" is not a plug-in: it has no entry point AvisynthPluginInit2");
}

#else

PluginInitFunc OpenPluginLibrary(const std::string& path) {
  // A name without a slash would make the loader search the system's library path; a plug-in
  // is always named by its location.
  const std::string located = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(located.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    throw HostError("cannot load plug-in \"" + path + "\": " + (reason ? reason : "unknown error"));
  }
  for (const char* name : kEntryNames) {
    if (void* entry = dlsym(library, name)) return reinterpret_cast<PluginInitFunc>(entry);
  }
  dlclose(library);
  throw HostError("\"" + path + "\" is not a plug-in: it has no entry point AvisynthPluginInit2");
}

#endif

}  // namespace velmire::host
