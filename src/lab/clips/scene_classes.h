// The demo's scene classes: the kinds of content on which a cross-colour filter behaves
// differently, each made as interlaced video of one standard, so that what a filter does to
// still and to moving pictures can be measured apart.
//
// - still picture: the photograph-like street scene (photo_scene.h), standing still;
// - camera pan: the same scene panning to the left, 2.5 pixels a frame;
// - moving object: a lettered van with a chequered band crossing the still scene, 5 pixels a
//   frame to the right and half a line a frame upwards;
// - still stripes: a synthetic chart of fine stripes (a frequency sweep, bursts of fixed
//   periods on grey and on coloured grounds, diagonals and a zone plate), standing still;
// - real footage made of photographs (photo_footage.h): a still photo, a photo pan, an object
//   over a photo, and a cut between two shots.
//
// The lines of each field show the scene at that field's own time (video_standard.h), half a
// frame apart, as an interlaced camera takes them.
#pragma once

#include <memory>
#include <vector>

#include "lab/clips/float_plane.h"
#include "lab/clips/photo_footage.h"
#include "lab/clips/photo_scene.h"
#include "lab/clips/video_standard.h"

namespace velmire::lab {

enum class SceneClass {
  kStill, kPan, kMovingObject, kStripes, kPhotoStill, kPhotoPan, kPhotoObject, kPhotoCut
};

inline constexpr SceneClass kSceneClasses[] = {
    SceneClass::kStill,      SceneClass::kPan,      SceneClass::kMovingObject,
    SceneClass::kStripes,    SceneClass::kPhotoStill, SceneClass::kPhotoPan,
    SceneClass::kPhotoObject, SceneClass::kPhotoCut};

const char* SceneClassName(SceneClass scene);  // e.g. "still picture"

// Whether every frame shows the same picture.
bool IsStill(SceneClass scene);

// The frames a filter is judged on in a clip of `frames` frames: all of them, but for a cut
// the two next to it (the last of the first shot, the first of the second).
std::vector<int> JudgedFrames(SceneClass scene, int frames);

// The clean pictures of one class: built once (the costly part), then any frame can be had,
// from several threads at once.
class SceneClassPictures {
 public:
  // Pictures `width` pixels wide with the standard's lines, for clips of up to `frames`
  // frames (the pan needs scene to the right of the first picture); the scene is sampled on
  // `threads` threads.
  SceneClassPictures(SceneClass scene, VideoStandard standard, int width, int frames,
                     int threads = 1);

  YuvImage Frame(int index) const;

 private:
  SceneClass scene_;
  VideoStandard standard_;
  int width_;
  std::shared_ptr<const PhotoScene> street_;  // the pan's and the van's background
  YuvImage still_;                            // the picture of the still classes
  std::shared_ptr<const PhotoFootage> footage_;  // the real-footage classes
};

}  // namespace velmire::lab
