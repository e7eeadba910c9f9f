// Alternatives to the filter, judged on the same stored clips so that every sweep table shows
// what they would do: each chroma sample averaged with the same sample in the frames before
// and after (a plain 3-frame average, blind to motion); a vertical 1-2-1 blur of the chroma
// rows of the frame; and a still-gated temporal average, what the best temporal filters do:
// per block of 8x8 luma samples, when the luma of the frames used agrees with frame n's within
// a gate, the block's chroma becomes the 1/4, 1/2, 1/4 weighted average over frames n-k, n,
// n+k, with k the frames after which the subcarrier's phase is opposite at the same place (1
// in NTSC, 2 in PAL), so that the flipping cross-colour cancels; else it is left alone. Luma
// is left as it is in all. The unfiltered clip is judged the same way, as the starting point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lab/sweep/demo_judgement.h"
#include "lab/clips/stored_demo_clip.h"
#include "lab/clips/tool_names.h"

namespace velmire::lab {

enum class Baseline { kUnfiltered, kTemporalAverage, kVerticalBlur, kGatedAverage };

inline constexpr Baseline kBaselines[] = {Baseline::kUnfiltered, Baseline::kTemporalAverage,
                                          Baseline::kVerticalBlur, Baseline::kGatedAverage};

// "unfiltered", "3-frame average", "vertical 1-2-1", "gated average".
const char* BaselineName(Baseline baseline);

// The gated average's parameters: frames n-step and n+step are averaged with frame n where
// the mean absolute luma difference of an 8x8 block to each is at most `gate` (8-bit steps).
struct GatedAverageParams {
  int step = 1;
  int gate = 4;
};

// The gates the sweep tries, from strict to loose.
inline constexpr int kGatedAverageGates[] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48};

// Writes frame `n` of `frames` (stream order, geometry `g`) with the baseline applied to `out`.
// The first and last frames stand in for their missing neighbours, the top and bottom chroma
// rows for theirs; results are rounded to the nearest value.
void ApplyBaseline(Baseline baseline, const FrameGeometry& g,
                   const std::vector<std::vector<std::uint8_t>>& frames, std::size_t n,
                   std::uint8_t* out, const GatedAverageParams& gated = {});

// The baseline's result on the clip's judged frames, judged against the clean frames.
DemoJudgement JudgeBaseline(Baseline baseline, const StoredDemoClip& clip, const FrameGeometry& g,
                            const GatedAverageParams& gated = {});

// The gated average at the gate of kGatedAverageGates that leaves the least chroma error on
// detail (ties to the stricter gate), with frames `step` apart.
struct GatedAverageResult {
  DemoJudgement judgement;
  int gate = 0;
};
GatedAverageResult JudgeGatedAverageAtBestGate(const StoredDemoClip& clip, const FrameGeometry& g,
                                               int step);

}  // namespace velmire::lab
