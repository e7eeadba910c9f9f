#include "tool/compare/png_writer.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tool/errors/cli_error.h"

namespace velmire::cli {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
  throw OutputError("picture: cannot write '" + path + "': " + reason);
}

// A device or pipe named as the picture is never removed, only a half-written file.
void RemoveIfRegularFile(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(path.c_str());
}

}  // namespace

void CheckPictureWritable(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) Fail(path, std::strerror(EISDIR));
    if (::access(path.c_str(), W_OK) != 0) Fail(path, std::strerror(errno));
    return;
  }
  if (errno != ENOENT) Fail(path, std::strerror(errno));
  // A new file: its folder must exist and take new files.
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  if (::stat(folder.c_str(), &info) != 0) Fail(path, std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) Fail(path, std::strerror(ENOTDIR));
  if (::access(folder.c_str(), W_OK | X_OK) != 0) Fail(path, std::strerror(errno));
}

void WritePng(const std::string& path, const RgbImage& image) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) Fail(path, std::strerror(errno));

  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  const int written = png_image_write_to_stdio(&png, file, 0, image.pixels.data(),
                                               image.width * 3, nullptr);
  // libpng reports its own failures in the image record; failures of the file itself show
  // in the stream's error flag and on closing it, with errno telling why.
  int error_number = std::ferror(file) != 0 ? errno : 0;
  if (std::fclose(file) != 0 && error_number == 0) error_number = errno;
  if (!written || error_number != 0) {
    const std::string reason = error_number != 0 ? std::strerror(error_number) : png.message;
    png_image_free(&png);
    RemoveIfRegularFile(path);
    Fail(path, reason);
  }
}

}  // namespace velmire::cli
