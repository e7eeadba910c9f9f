// Writes an RGB picture as a PNG file (through libpng).
#pragma once

#include <string>

#include "tool/compare/rgb_image.h"

namespace velmire::cli {

// Throws OutputError naming the file and the reason; a partly written file is removed.
void WritePng(const std::string& path, const RgbImage& image);

// Throws the OutputError that WritePng would give when `path` clearly cannot be written (its
// folder is missing or read-only, it is a folder or a file without write permission), so a
// run can refuse before doing any work. Creates nothing.
void CheckPictureWritable(const std::string& path);

}  // namespace velmire::cli
