// The demo's scene classes show what their names say: still pictures stand still, the pan
// moves the whole picture, the van moves over a still street, and each field is taken at its
// own time.
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "lab/clips/scene_class_clip.h"
#include "lab/clips/scene_classes.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {
namespace {

constexpr int kWidth = 360;

bool SamePlane(const FloatPlane& a, const FloatPlane& b) { return a.samples == b.samples; }

bool SamePicture(const YuvImage& a, const YuvImage& b) {
  return SamePlane(a.y, b.y) && SamePlane(a.u, b.u) && SamePlane(a.v, b.v);
}

// Whether line `line` of `a` shifted left by `shift` pixels matches `b`, away from the ends.
bool ShiftedLineMatches(const FloatPlane& a, const FloatPlane& b, int line, int shift) {
  for (int x = 8; x + shift + 8 < a.width; ++x) {
    if (std::fabs(a.at(x + shift, line) - b.at(x, line)) > 1e-3f) return false;
  }
  return true;
}

TEST(SceneClasses, StillClassesStandStillAndTheOthersMove) {
  for (const VideoStandard standard : kVideoStandards) {
    for (const SceneClass scene : kSceneClasses) {
      const SceneClassPictures pictures(scene, standard, kWidth, 8);
      const YuvImage first = pictures.Frame(0), later = pictures.Frame(5);
      EXPECT_EQ(first.y.height, PictureLines(standard));
      EXPECT_EQ(SamePicture(first, later), IsStill(scene))
          << SceneClassName(scene) << ", " << StandardName(standard);
    }
  }
}

TEST(SceneClasses, ThePanMovesEveryLineOfAFieldByTheSameStep) {
  // 2.5 pixels a frame: two frames later, every line of each field has moved 5 pixels left.
  for (const VideoStandard standard : kVideoStandards) {
    const SceneClassPictures pan(SceneClass::kPan, standard, kWidth, 8);
    const YuvImage a = pan.Frame(1), b = pan.Frame(3);
    int matching = 0;
    for (int line = 0; line < a.y.height; ++line) {
      matching += ShiftedLineMatches(a.y, b.y, line, 5) && ShiftedLineMatches(a.u, b.u, line, 5);
    }
    EXPECT_EQ(matching, a.y.height) << StandardName(standard);
  }
}

TEST(SceneClasses, ThePhotoPanMovesOnePixelAFieldAndTheCutChangesShotOnce) {
  for (const VideoStandard standard : kVideoStandards) {
    const SceneClassPictures pan(SceneClass::kPhotoPan, standard, kWidth, 8);
    const YuvImage a = pan.Frame(1), b = pan.Frame(3);
    int matching = 0;
    for (int line = 0; line < a.y.height; ++line) {
      matching += ShiftedLineMatches(a.y, b.y, line, 4) && ShiftedLineMatches(a.v, b.v, line, 4);
    }
    EXPECT_EQ(matching, a.y.height) << StandardName(standard);

    const SceneClassPictures cut(SceneClass::kPhotoCut, standard, kWidth, 8);
    const int at = PhotoFootage::CutFrame(8);
    EXPECT_TRUE(SamePicture(cut.Frame(0), cut.Frame(at - 1)));
    EXPECT_TRUE(SamePicture(cut.Frame(at), cut.Frame(7)));
    EXPECT_FALSE(SamePicture(cut.Frame(at - 1), cut.Frame(at)));
    EXPECT_EQ(JudgedFrames(SceneClass::kPhotoCut, 8), (std::vector<int>{at - 1, at}));
  }
}

TEST(SceneClasses, TheVanCrossesAStillStreetAndEachFieldShowsItAtItsOwnTime) {
  for (const VideoStandard standard : kVideoStandards) {
    const SceneClassPictures street(SceneClass::kStill, standard, kWidth, 8);
    const SceneClassPictures van(SceneClass::kMovingObject, standard, kWidth, 8);
    const YuvImage background = street.Frame(0), picture = van.Frame(2);
    // The van's front end on each line: the rightmost sample that differs from the street.
    double front[2] = {0.0, 0.0};
    int lines[2] = {0, 0}, changed_lines = 0;
    for (int line = 0; line < picture.y.height; ++line) {
      int right = -1;
      for (int x = 0; x < kWidth; ++x) {
        if (picture.y.at(x, line) != background.y.at(x, line)) right = x;
      }
      if (right < 0) continue;
      EXPECT_GT(line, picture.y.height / 2) << "the van keeps to the street";
      const int later = FieldTime(standard, line) > 0.0 ? 1 : 0;
      front[later] += right;
      ++lines[later];
      ++changed_lines;
    }
    ASSERT_GT(changed_lines, 40) << StandardName(standard);
    ASSERT_GT(lines[0], 0);
    ASSERT_GT(lines[1], 0);
    // Five pixels a frame: the later field shows the van two and a half pixels further on.
    EXPECT_NEAR(front[1] / lines[1] - front[0] / lines[0], 2.5, 1.0) << StandardName(standard);
  }
}

TEST(SceneClassClip, HasTheStandardsGeometryAndRepeatsAStillPictureWithThePhaseSequence) {
  struct Case {
    VideoStandard standard;
    const char* field_order;
  };
  for (const Case c : {Case{VideoStandard::kNtsc, " Ib "}, Case{VideoStandard::kPal, " It "}}) {
    const int frames = PhaseSequenceFrames(c.standard) + 1;
    const std::vector<StoredDemoClip> clips =
        RenderStoredClassClips(SceneClass::kStripes, c.standard, frames, 2);
    ASSERT_EQ(clips.size(), 2u);
    for (const StoredDemoClip& clip : clips) {
      const Y4mHeader header = ParseY4mHeader(clip.header_line);
      EXPECT_EQ(header.geometry.height, PictureLines(c.standard));
      EXPECT_NE(clip.header_line.find(c.field_order), std::string::npos) << clip.header_line;
      ASSERT_EQ(clip.decoded.size(), std::size_t(frames));
      EXPECT_EQ(clip.decoded[0].size(), header.geometry.frame_bytes());
      EXPECT_EQ(clip.decoded.back(), clip.decoded.front()) << StandardName(c.standard);
      for (int n = 1; n + 1 < frames; ++n) {
        EXPECT_NE(clip.decoded[std::size_t(n)], clip.decoded[0]) << StandardName(c.standard);
      }
    }
  }
}

}  // namespace
}  // namespace velmire::lab
