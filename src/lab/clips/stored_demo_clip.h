// The demo clip held in memory, for runs that filter it many times over: per layout, the
// decoded frames the filter gets and the clean frames and detail masks that judge its output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lab/clips/demo_clip.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {

struct StoredDemoClip {
  ChromaLayout layout = ChromaLayout::k420;
  std::string header_line;  // the stream header of this variant
  // Per frame, in stream order; masks have one entry per chroma sample.
  std::vector<std::vector<std::uint8_t>> decoded, clean, detail_masks;
  // The frames a filter's output is judged on; empty: every frame.
  std::vector<int> judged_frames;
};

// The frames of `clip` to judge, in order.
std::vector<std::size_t> FramesToJudge(const StoredDemoClip& clip);

// Renders a clip of the size, standard and length of `demo`, `threads` frames at once: frame n
// is render(n), called on several threads at once. When the frames repeat after `repeat_after`
// frames (0: they do not), only that many are rendered and the rest are copies. Returns the
// 4:2:2 variant, then the 4:2:0 one.
std::vector<StoredDemoClip> RenderStoredClips(const DemoSpec& demo, int threads,
                                              const std::function<DemoFrames(int)>& render,
                                              int repeat_after = 0);

}  // namespace velmire::lab
