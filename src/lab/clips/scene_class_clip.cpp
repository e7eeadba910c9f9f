#include "lab/clips/scene_class_clip.h"

#include "lab/clips/demo_clip.h"

namespace velmire::lab {

std::vector<StoredDemoClip> RenderStoredClassClips(SceneClass scene, VideoStandard standard,
                                                   int frames, int threads, float noise_sigma) {
  const DemoSpec demo{720, PictureLines(standard), frames, standard};
  const SceneClassPictures pictures(scene, standard, demo.width, frames, threads);
  // A still picture's frames differ only by the subcarrier's phase, which comes round again,
  // unless noise makes every frame its own.
  const int repeat_after =
      IsStill(scene) && noise_sigma == 0.0f ? PhaseSequenceFrames(standard) : 0;
  std::vector<StoredDemoClip> clips = RenderStoredClips(
      demo, threads,
      [&](int n) { return EncodeDemoFrames(pictures.Frame(n), standard, n, noise_sigma); },
      repeat_after);
  for (StoredDemoClip& clip : clips) clip.judged_frames = JudgedFrames(scene, frames);
  return clips;
}

}  // namespace velmire::lab
