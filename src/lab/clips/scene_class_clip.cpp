#include "lab/clips/scene_class_clip.h"

#include "lab/clips/demo_clip.h"

namespace velmire::cli {

std::vector<StoredDemoClip> RenderStoredClassClips(SceneClass scene, VideoStandard standard,
                                                   int frames, int threads) {
  const DemoSpec demo{720, PictureLines(standard), frames, standard};
  const SceneClassPictures pictures(scene, standard, demo.width, frames, threads);
  // A still picture's frames differ only by the subcarrier's phase, which comes round again.
  const int repeat_after = IsStill(scene) ? PhaseSequenceFrames(standard) : 0;
  return RenderStoredClips(
      demo, threads, [&](int n) { return EncodeDemoFrames(pictures.Frame(n), standard, n); },
      repeat_after);
}

}  // namespace velmire::cli
