// Where the tool looks for the filter library when --plugin is not given: beside its own
// executable, in the installed layout first and then in the build tree's.
#pragma once

#include <string>
#include <vector>

namespace velmire::cli {

// The candidate paths, in the order they are tried, for an executable in `exe_folder`.
std::vector<std::string> PluginCandidates(const std::string& exe_folder);

// The folder of the running executable (from /proc/self/exe); empty if it cannot be told.
std::string ExecutableFolder();

// The first candidate that exists; throws CliError listing where it looked.
std::string FindDefaultPlugin();

}  // namespace velmire::cli
