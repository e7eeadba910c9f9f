#include "cli/plugin_locator.h"

#include <filesystem>
#include <system_error>

#include "cli/cli_error.h"

#ifndef VELMIRE_PLUGIN_INSTALL_PATH
// The installed plug-in, relative to the folder of the installed tool.
#define VELMIRE_PLUGIN_INSTALL_PATH "../lib/velmire/libvelmire.so"
#endif

namespace velmire::cli {

namespace fs = std::filesystem;

std::vector<std::string> PluginCandidates(const std::string& exe_folder) {
  const fs::path folder(exe_folder);
  return {
      (folder / VELMIRE_PLUGIN_INSTALL_PATH).lexically_normal().string(),
      (folder / "../plugin/libvelmire.so").lexically_normal().string(),  // build tree
      (folder / "libvelmire.so").lexically_normal().string(),
  };
}

std::string ExecutableFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.parent_path().string();
}

std::string FindDefaultPlugin() {
  const std::string folder = ExecutableFolder();
  if (folder.empty()) {
    throw CliError("plug-in: cannot tell where this program is; name the library with --plugin");
  }
  std::string tried;
  for (const std::string& candidate : PluginCandidates(folder)) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate;
    tried += (tried.empty() ? "" : ", ") + candidate;
  }
  throw CliError("plug-in: libvelmire.so not found (looked for " + tried +
                 "); name it with --plugin");
}

}  // namespace velmire::cli
