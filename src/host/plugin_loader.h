// Opens a plug-in library by path and finds its entry point.
#pragma once

#include <string>

#include "host/interface/plugin_interface.h"

namespace velmire::host {

// Loads the library at `path` and returns its entry point (looked up as
// "AvisynthPluginInit2", then under its decorated name "_AvisynthPluginInit2@4"). The library
// stays loaded for the life of the process, since clips made by it may outlive any one host.
// Throws HostError with the path and the reason when the library cannot be opened or has no
// entry point.
PluginInitFunc OpenPluginLibrary(const std::string& path);

}  // namespace velmire::host
