// Where writing through a symbolic link lands: the file at the end of the chain of links.
#pragma once

#include <string>

namespace velmire::cli {

// `path` with every symbolic link it names followed, as far as the chain goes (a link to a
// file that does not exist yet gives that file's path; relative links are taken from the
// link's own folder). A path that is not a link comes back unchanged. Throws OutputError,
// naming `display_name`, when the links loop.
std::string FollowLinks(const std::string& path, const std::string& display_name);

}  // namespace velmire::cli
