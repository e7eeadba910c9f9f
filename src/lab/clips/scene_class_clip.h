// The demo clip of one scene class in one standard, as the settings sweep uses it: every
// frame passed through the standard's composite model and held in memory in both layouts.
#pragma once

#include <vector>

#include "lab/clips/scene_classes.h"
#include "lab/clips/stored_demo_clip.h"
#include "lab/clips/video_standard.h"

namespace velmire::lab {

// 720 pixels wide with the standard's lines, with noise of standard deviation `noise_sigma`
// (8-bit luma steps) on the composite signal; `threads` frames are rendered at once. Returns
// the 4:2:2 variant, then the 4:2:0 one, each with the frames to judge (JudgedFrames).
std::vector<StoredDemoClip> RenderStoredClassClips(SceneClass scene, VideoStandard standard,
                                                   int frames, int threads,
                                                   float noise_sigma = 0.0f);

}  // namespace velmire::lab
