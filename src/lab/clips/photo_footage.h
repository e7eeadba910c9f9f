// The frames of the real-footage scene classes, made of the photographs (photo_library.h):
// - still photo: the mosaic of four photographs, standing still;
// - photo pan: the mosaic, followed on its right by its mirror image, panning to the left one
//   pixel a field (two a frame);
// - object over photo: a 176x128 piece of the second shot crossing the still mosaic, two
//   pixels a field to the right and one line a frame upwards;
// - photo cut: the mosaic until the middle of the clip, then the second shot (the same
//   photographs, swapped and mirrored), both standing still.
// Each field shows the scene at its own time (video_standard.h). Moves are whole pixels, so
// no resampling softens the photographs.
#pragma once

#include "lab/clips/float_plane.h"
#include "lab/clips/video_standard.h"

namespace velmire::lab {

enum class PhotoMotion { kStill, kPan, kObject, kCut };

class PhotoFootage {
 public:
  // Pictures `width` (at most 720) pixels wide with the standard's lines, for clips of up to
  // `frames` frames (at most 300).
  PhotoFootage(PhotoMotion motion, VideoStandard standard, int width, int frames);

  YuvImage Frame(int index) const;

  // The first frame of the second shot in a clip of `frames` frames.
  static int CutFrame(int frames) { return frames / 2; }

 private:
  PhotoMotion motion_;
  VideoStandard standard_;
  int width_, frames_;
  YuvImage first_, second_;  // the two shots (first_ is twice as wide for the pan)
};

}  // namespace velmire::lab
