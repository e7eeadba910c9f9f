// A photograph-like street scene made up procedurally, as the background of the demo's scene
// classes: a sky with soft clouds; house fronts of brick, stone and painted boards with windows
// (blinds, lace curtains, dark glass); a shop with a lettered sign, a striped awning and a window
// of bookshelves; trees; a picket fence before a hedge; paving, a kerb and a road. Fine detail of
// many sizes and directions, much of it on coloured ground, sits beside smooth areas (sky,
// plaster, glass), as in a real photograph. Fully deterministic.
//
// The scene is sampled four times per pixel across and twice down, and every picture pixel
// averages the samples under it, as a camera's pixel aperture does; so a picture can be taken
// at any quarter-pixel offset, and a pan moves the content smoothly.
#pragma once

#include <vector>

#include "lab/clips/float_plane.h"

namespace velmire::lab {

class PhotoScene {
 public:
  // A scene `width` pixels wide and `height` lines high, sampled on `threads` threads.
  PhotoScene(int width, int height, int threads = 1);

  int width() const { return width_; }
  int height() const { return height_; }

  // Fills one line of a picture `out_width` pixels wide whose left edge lies `offset_quarters`
  // quarter pixels into the scene; needs out_width + offset_quarters / 4 <= width().
  void RenderLine(int line, int offset_quarters, int out_width, float* y, float* u,
                  float* v) const;

  // A whole picture, every line at the same offset.
  YuvImage Render(int out_width, int offset_quarters) const;

 private:
  int width_, height_;
  // Four samples per pixel across, the two samples down already averaged; row-major.
  std::vector<float> y_, u_, v_;
};

}  // namespace velmire::lab
