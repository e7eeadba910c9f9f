// Writes an RGB picture as a PNG file (through libpng).
#pragma once

#include <string>

#include "tool/measure/rgb_image.h"

namespace velmire::cli {

// Throws OutputError naming the file and the reason; a partly written file is removed.
void WritePng(const std::string& path, const RgbImage& image);

}  // namespace velmire::cli
