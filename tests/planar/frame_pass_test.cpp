// The frame pass around the block search: which rows and columns it may change, which table
// each row uses, the right edge of rows whose width is not a multiple of 4, frame layouts and
// pitches, refused neighbours and the frames it asks for.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "block_scene.h"
#include "host/memory_clip.h"
#include "host/script_environment.h"
#include "textured_frames.h"

namespace velmire::test {
namespace {

// Luma rising by 6 per sample along every row: with ThresholdY 0 every block is marked, and
// Margin 4 spreads marks into columns 0 .. 3 and past the last block.
PlanarImage RampImage(int chromaWidth, int lumaHeight, std::mt19937& random) {
  PlanarImage image = RandomImage(2 * chromaWidth, lumaHeight, random);
  for (int r = 0; r < lumaHeight; ++r)
    for (int c = 0; c < image.width; ++c) image.Y(r, c) = static_cast<uint8_t>(6 * c + r);
  return image;
}

struct Span {
  int first, last;  // inclusive; first > last: empty
  bool Contains(int i) const { return first <= i && i <= last; }
};

struct DebugCase {
  int chromaWidth;
  Span columns;
};
struct HeightCase {
  int lumaHeight;
  Span rows;
};

TEST(PlanarPass, DebugPaintsOnlyColumns4ToWMinus5OfRows1ToHMinus2) {
  const DebugCase widths[] = {{8, {4, 3}},  {9, {4, 4}},   {10, {4, 5}},  {11, {4, 6}},
                              {12, {4, 7}}, {13, {4, 8}}, {20, {4, 15}}};
  const HeightCase heights[] = {{2, {1, 0}}, {4, {1, 0}}, {5, {1, 0}}, {6, {1, 1}},
                                {7, {1, 1}}, {8, {1, 2}}, {10, {1, 3}}};
  std::mt19937 random(5);
  for (const DebugCase& w : widths) {
    for (const HeightCase& h : heights) {
      for (bool flat : {false, true}) {
        PlanarImage in = RampImage(w.chromaWidth, h.lumaHeight, random);
        if (flat) std::fill(in.y.begin(), in.y.end(), uint8_t{90});
        PlanarImage expected = in;
        for (int r = 0; r < in.ChromaHeight() && !flat; ++r) {
          for (int c = 0; c < in.ChromaWidth(); ++c) {
            if (!h.rows.Contains(r) || !w.columns.Contains(c)) continue;
            expected.U(r, c) = 128;
            expected.V(r, c) = 255;
          }
        }
        const PlanarImage out = RunPlanarFilter(in, in, in, FilterSettings{0, 60, 4, true});
        EXPECT_EQ(FirstDifference(out, expected), "")
            << "W " << w.chromaWidth << ", luma height " << h.lumaHeight << (flat ? ", flat" : "");
      }
    }
  }
}

// The last block starts at the largest multiple of 4 below W-4; nothing right of it changes.
TEST(PlanarPass, CorrectionStaysInsideRows1ToHMinus2AndWholeBlocks) {
  const DebugCase widths[] = {{8, {4, 3}},   {9, {4, 7}},   {10, {4, 7}},  {11, {4, 7}},
                              {12, {4, 7}},  {16, {4, 11}}, {17, {4, 15}}, {18, {4, 15}},
                              {19, {4, 15}}, {20, {4, 15}}};
  const HeightCase heights[] = {{4, {1, 0}}, {6, {1, 1}}, {10, {1, 3}}, {11, {1, 3}}};
  std::mt19937 random(11);
  int variant = 0;
  for (const DebugCase& w : widths) {
    for (const HeightCase& h : heights) {
      const PlanarImage current = RampImage(w.chromaWidth, h.lumaHeight, random);
      PlanarImage previous = RandomImage(current.width, current.height, random);
      PlanarImage next = RandomImage(current.width, current.height, random);
      previous.y = next.y = current.y;  // exact matches everywhere; chroma differs
      RunOptions options;
      options.align = 1;
      options.pixelType = ++variant % 2 ? VideoInfo::CS_YV12 : VideoInfo::CS_I420;
      const PlanarImage out =
          RunPlanarFilter(previous, current, next, FilterSettings{0, 255, 4, false}, options);

      SCOPED_TRACE("W " + std::to_string(w.chromaWidth) + ", luma height " +
                   std::to_string(h.lumaHeight));
      EXPECT_EQ(out.y, current.y);
      std::set<int> changedRows, changedColumns;
      for (int r = 0; r < out.ChromaHeight(); ++r) {
        for (int c = 0; c < out.ChromaWidth(); ++c) {
          if (out.U(r, c) == current.U(r, c) && out.V(r, c) == current.V(r, c)) continue;
          changedRows.insert(r);
          changedColumns.insert(c);
        }
      }
      std::set<int> rows, columns;
      if (h.rows.first <= h.rows.last && w.columns.first <= w.columns.last) {
        for (int r = h.rows.first; r <= h.rows.last; ++r) rows.insert(r);
        for (int c = w.columns.first; c <= w.columns.last; ++c) columns.insert(c);
      }
      EXPECT_EQ(changedRows, rows);
      EXPECT_EQ(changedColumns, columns);
    }
  }
}

// Frames n-1 and n share every luma row of one parity: rows of frame n whose table compares
// rows of that parity at offset 0 find an exact match and change; the others find nothing.
// Table A (reference row 2cy-1) serves rows with H - cy odd, table B (row 2cy) the others.
TEST(PlanarPass, RowTableFollowsTheRowsLeftToTheBottom) {
  struct Case {
    int lumaHeight;
    std::set<int> tableARows, tableBRows;
  };
  const Case cases[] = {{10, {2}, {1, 3}},
                        {12, {1, 3}, {2, 4}},
                        {14, {2, 4}, {1, 3, 5}},
                        {16, {1, 3, 5}, {2, 4, 6}}};
  std::mt19937 random(3);
  for (const Case& c : cases) {
    for (int sharedParity : {1, 0}) {  // 1: odd luma rows (table A's), 0: even (table B's)
      const PlanarImage current = RandomImage(32, c.lumaHeight, random);
      PlanarImage previous = RandomImage(32, c.lumaHeight, random);
      const PlanarImage next = RandomImage(32, c.lumaHeight, random);
      for (int r = sharedParity; r < c.lumaHeight; r += 2)
        for (int col = 0; col < current.width; ++col) previous.Y(r, col) = current.Y(r, col);
      const PlanarImage out =
          RunPlanarFilter(previous, current, next, FilterSettings{0, 40, 4, false});
      std::set<int> changed;
      for (int r = 0; r < out.ChromaHeight(); ++r)
        for (int col = 0; col < out.ChromaWidth(); ++col)
          if (out.U(r, col) != current.U(r, col)) changed.insert(r);
      EXPECT_EQ(changed, sharedParity ? c.tableARows : c.tableBRows)
          << "luma height " << c.lumaHeight << ", shared parity " << sharedParity;
    }
  }
}

// The last block of row H-2 (table B) with its only exact match in entry 30 (frame n+1, own
// row, chroma offset +2) or entry 31 (frame n+1, row below, offset +3). Where the entry's
// chroma would pass column W-1 it is left out, although the luma run on into the next row in
// memory would match; entry 31 then reads past the end of the last plane if it is not left out.
TEST(PlanarPass, EntriesReachingPastTheRowEndAreLeftOut) {
  struct Case {
    int chromaWidth, lastBlock;
    Placement candidate;
    Source source;
    bool taken;
  };
  const Placement entry30{+1, 0, +4, kRamp}, entry31{+1, +1, +6, kRamp};
  const Source source30{+1, 0, +2}, source31{+1, +1, +3};
  const Case cases[] = {
      {16, 8, entry30, source30, true},   {16, 8, entry31, source31, true},
      {17, 12, entry30, source30, false}, {17, 12, entry31, source31, false},
      {18, 12, entry30, source30, true},  {18, 12, entry31, source31, false},
      {19, 12, entry30, source30, true},  {19, 12, entry31, source31, true},
  };
  for (const Case& c : cases) {
    for (int pixelType : {VideoInfo::CS_YV12, VideoInfo::CS_I420}) {
      SCOPED_TRACE("W " + std::to_string(c.chromaWidth) + ", chroma offset " +
                   std::to_string(c.source.offset) +
                   (pixelType == VideoInfo::CS_YV12 ? ", YV12" : ", I420"));
      constexpr int kChromaHeight = 6;
      BlockScene scene(kChromaHeight - 2, c.lastBlock, c.chromaWidth, kChromaHeight);
      scene.Place({0, 0, 0, kRamp});
      scene.PlaceRunningOn(c.candidate);
      RunOptions options;
      options.pixelType = pixelType;
      options.align = 1;
      const PlanarImage out = scene.Run(SceneSettings(60), options);
      const auto [u, v] = scene.ExpectedRow(c.taken ? std::optional(c.source) : std::nullopt,
                                            {true, true, true, true});
      EXPECT_EQ(scene.URow(out, scene.cy()), u);
      EXPECT_EQ(scene.VRow(out, scene.cy()), v);
    }
  }
}

// YV12 stores V before U and I420 after; pitches may differ from frame to frame. Neither
// may change the result.
TEST(PlanarPass, FormatAndPitchesDoNotChangeTheResult) {
  struct Layout {
    int pixelType, align;
    std::vector<int> neighbourAligns;
  };
  const Layout layouts[] = {{VideoInfo::CS_YV12, 16, {}},       {VideoInfo::CS_I420, 16, {}},
                            {VideoInfo::CS_YV12, 1, {}},        {VideoInfo::CS_I420, 1, {}},
                            {VideoInfo::CS_YV12, 64, {1, 32}},  {VideoInfo::CS_I420, 1, {64, 16}}};
  std::mt19937 random(17);
  for (const FilterSettings& settings : {FilterSettings{30, 60, 1, false},
                                         FilterSettings{10, 200, 3, false},
                                         FilterSettings{30, 60, 1, true}}) {
    const FrameTriple f = TexturedFrames(42, 14, random);
    PlanarImage first;
    for (const Layout& layout : layouts) {
      RunOptions options{layout.pixelType, layout.align, layout.neighbourAligns, nullptr};
      const PlanarImage out = RunPlanarFilter(f.previous, f.current, f.next, settings, options);
      if (first.y.empty()) {
        first = out;
        ASSERT_NE(out, f.current) << "the frames must give the pass something to change";
        continue;
      }
      EXPECT_EQ(FirstDifference(out, first), "")
          << "type " << layout.pixelType << ", align " << layout.align;
    }
  }
}

VideoInfo Yv12Info(int width, int height) {
  VideoInfo vi;
  vi.width = width;
  vi.height = height;
  vi.pixel_type = VideoInfo::CS_YV12;
  vi.fps_numerator = 25;
  return vi;
}

TEST(PlanarPass, RefusesANeighbourOfAnotherSizeAndReleasesEveryFrame) {
  host::ScriptEnvironment env;
  {
    const VideoInfo vi = Yv12Info(40, 12);
    std::vector<PVideoFrame> frames{env.NewVideoFrame(Yv12Info(32, 12)), env.NewVideoFrame(vi),
                                    env.NewVideoFrame(vi)};
    PClip clip(new host::MemoryClip(vi, std::move(frames)));
    PClip filter(new CrossColorFilter(clip, 30, 60, 1, false, &env));
    try {
      filter->GetFrame(1, &env);
      ADD_FAILURE() << "no error raised";
    } catch (const host::HostError& error) {
      EXPECT_STREQ(error.what(), "Velmire : frames differ in size");
    }
  }
  EXPECT_EQ(env.frames().LiveFrames(), 0u);
}

// Frame 0 asks for frame -1 and the last frame for frame num_frames, unclamped; the child
// decides what to serve for them.
TEST(PlanarPass, AsksForTheUnclampedNeighbours) {
  host::ScriptEnvironment env;
  {
    const VideoInfo vi = Yv12Info(24, 8);
    std::vector<PVideoFrame> frames{env.NewVideoFrame(vi), env.NewVideoFrame(vi)};
    auto* recording = new host::RecordingClip(new host::MemoryClip(vi, std::move(frames)));
    PClip clip(recording);
    PClip filter(new CrossColorFilter(clip, 30, 60, 1, false, &env));
    filter->GetFrame(0, &env);
    filter->GetFrame(1, &env);
    EXPECT_EQ(recording->Requests(), (std::vector<int>{0, -1, 1, 1, 0, 2}));
  }
  EXPECT_EQ(env.frames().LiveFrames(), 0u);
}

}  // namespace
}  // namespace velmire::test
