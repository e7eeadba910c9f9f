// Runs the real filter object over a clip of YUY2 pictures held in the in-process host, each
// frame stored with its own alignment (1 by default, so the pitch equals the row size and any
// read past a row's end near the bottom of a frame leaves its buffer), and checks what every
// run must keep: the fetched frames untouched, the output in a buffer of its own, and no frame
// handle left behind.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/memory_clip.h"
#include "host/script_environment.h"
#include "plugin/filter.h"
#include "core/kernel_table.h"
#include "support/test_clips.h"
#include "yuy2_picture.h"

namespace velmire::test {

struct PassRun {
  Yuy2Picture output;
  std::vector<int> requests;  // frame numbers asked of the input clip, in order
};

inline Yuy2Picture ReadPicture(const PVideoFrame& frame) {
  Yuy2Picture picture(frame->GetRowSize(), frame->GetHeight());
  for (int y = 0; y < picture.height; ++y) {
    std::memcpy(&picture.At(y, 0), frame->GetReadPtr() + y * frame->GetPitch(),
                static_cast<size_t>(picture.rowSize));
  }
  return picture;
}

class Yuy2PassTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(env.frames().LiveFrames(), 0u) << "a frame handle was left behind";
  }

  PVideoFrame MakeFrame(const Yuy2Picture& picture, int align) {
    const VideoInfo vi =
        velmire::testing::MakeVideoInfo(VideoInfo::CS_YUY2, picture.rowSize / 2, picture.height);
    PVideoFrame frame = env.NewVideoFrame(vi, align);
    for (int y = 0; y < picture.height; ++y) {
      std::memcpy(frame->GetWritePtr() + y * frame->GetPitch(),
                  picture.bytes.data() + y * picture.rowSize, static_cast<size_t>(picture.rowSize));
    }
    return frame;
  }

  // Output frame n of the filter over `clip` (frame i stored with aligns[i % size]). Frame
  // numbers outside the clip get the nearest frame, as the host's sources do.
  PassRun Run(const std::vector<Yuy2Picture>& clip, int n, const FilterSettings& s,
              const std::vector<int>& aligns = {1}, const KernelSet& kernels = PortableKernels()) {
    std::vector<PVideoFrame> frames;
    for (size_t i = 0; i < clip.size(); ++i)
      frames.push_back(MakeFrame(clip[i], aligns[i % aligns.size()]));
    const VideoInfo vi = velmire::testing::MakeVideoInfo(
        VideoInfo::CS_YUY2, clip[0].rowSize / 2, clip[0].height, static_cast<int>(clip.size()));
    auto* recorder = new host::RecordingClip(PClip(new host::MemoryClip(vi, frames)));
    const PClip recorded(recorder);
    const PClip filter(
        new CrossColorFilter(recorded, s.ThresholdY, s.Noise, s.Margin, s.Debug, &env, kernels));

    const PVideoFrame output = filter->GetFrame(n, &env);
    for (size_t i = 0; i < clip.size(); ++i) {
      EXPECT_NE(output->vfb, frames[i]->vfb) << "output shares the buffer of input frame " << i;
      EXPECT_EQ(FirstDifference(clip[i], ReadPicture(frames[i])), "")
          << "input frame " << i << " was written";
    }
    return PassRun{ReadPicture(output), recorder->Requests()};
  }

  host::ScriptEnvironment env;
};

}  // namespace velmire::test
