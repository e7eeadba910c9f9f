// The simplest alternatives to the filter, judged on the same stored clips so that every sweep
// table shows what they would do: each chroma sample averaged with the same sample in the
// frames before and after (a plain 3-frame average, blind to motion), and a vertical 1-2-1 blur
// of the chroma rows of the frame. Luma is left as it is in both. The unfiltered clip is judged
// the same way, as the starting point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lab/sweep/demo_judgement.h"
#include "lab/clips/stored_demo_clip.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::cli {

enum class Baseline { kUnfiltered, kTemporalAverage, kVerticalBlur };

inline constexpr Baseline kBaselines[] = {Baseline::kUnfiltered, Baseline::kTemporalAverage,
                                          Baseline::kVerticalBlur};

// "unfiltered", "3-frame average", "vertical 1-2-1".
const char* BaselineName(Baseline baseline);

// Writes frame `n` of `frames` (stream order, geometry `g`) with the baseline applied to `out`.
// The first and last frames stand in for their missing neighbours, the top and bottom chroma
// rows for theirs; results are rounded to the nearest value.
void ApplyBaseline(Baseline baseline, const FrameGeometry& g,
                   const std::vector<std::vector<std::uint8_t>>& frames, std::size_t n,
                   std::uint8_t* out);

// The baseline's result on every frame of the clip, judged against the clean frames.
DemoJudgement JudgeBaseline(Baseline baseline, const StoredDemoClip& clip,
                            const FrameGeometry& g);

}  // namespace velmire::cli
