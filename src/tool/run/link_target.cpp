#include "tool/run/link_target.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "tool/errors/cli_error.h"

namespace velmire::cli {

std::string FollowLinks(const std::string& path, const std::string& display_name) {
  namespace fs = std::filesystem;
  constexpr int kMaxLinks = 40;  // as the kernel allows when it resolves a path
  fs::path at(path);
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat info;
    if (::lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at.string();
    std::error_code error;
    const fs::path to = fs::read_symlink(at, error);
    if (error) return at.string();
    at = to.is_absolute() ? to : at.parent_path() / to;
  }
  throw OutputError("output: " + display_name + " is a loop of symbolic links");
}

}  // namespace velmire::cli
