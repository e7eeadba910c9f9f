#include "lab/sweep/sweep_baselines.h"

#include <algorithm>

#include "tool/y4m/stream_frame_view.h"

namespace velmire::cli {
namespace {

// The chroma planes (U, then V) start after the luma and lie one after the other.
void TemporalAverage(const FrameGeometry& g, const std::uint8_t* before, const std::uint8_t* now,
                     const std::uint8_t* after, std::uint8_t* out) {
  for (std::size_t i = g.luma_bytes(); i < g.frame_bytes(); ++i) {
    out[i] = static_cast<std::uint8_t>((before[i] + now[i] + after[i] + 1) / 3);
  }
}

void VerticalBlur(const FrameGeometry& g, const std::uint8_t* now, std::uint8_t* out) {
  const std::size_t w = std::size_t(g.chroma_width);
  for (std::size_t plane = 0; plane < 2; ++plane) {
    const std::size_t start = g.luma_bytes() + plane * g.chroma_bytes();
    for (int j = 0; j < g.chroma_height; ++j) {
      const std::uint8_t* above = now + start + std::size_t(std::max(j - 1, 0)) * w;
      const std::uint8_t* row = now + start + std::size_t(j) * w;
      const std::uint8_t* below = now + start + std::size_t(std::min(j + 1, g.chroma_height - 1)) * w;
      std::uint8_t* dst = out + start + std::size_t(j) * w;
      for (std::size_t i = 0; i < w; ++i) {
        dst[i] = static_cast<std::uint8_t>((above[i] + 2 * row[i] + below[i] + 2) / 4);
      }
    }
  }
}

}  // namespace

const char* BaselineName(Baseline baseline) {
  switch (baseline) {
    case Baseline::kUnfiltered: return "unfiltered";
    case Baseline::kTemporalAverage: return "3-frame average";
    case Baseline::kVerticalBlur: return "vertical 1-2-1";
  }
  return "?";
}

void ApplyBaseline(Baseline baseline, const FrameGeometry& g,
                   const std::vector<std::vector<std::uint8_t>>& frames, std::size_t n,
                   std::uint8_t* out) {
  const std::uint8_t* now = frames[n].data();
  std::copy(now, now + g.frame_bytes(), out);
  if (baseline == Baseline::kTemporalAverage) {
    const std::uint8_t* before = frames[n > 0 ? n - 1 : n].data();
    const std::uint8_t* after = frames[n + 1 < frames.size() ? n + 1 : n].data();
    TemporalAverage(g, before, now, after, out);
  } else if (baseline == Baseline::kVerticalBlur) {
    VerticalBlur(g, now, out);
  }
}

DemoJudgement JudgeBaseline(Baseline baseline, const StoredDemoClip& clip,
                            const FrameGeometry& g) {
  std::vector<std::uint8_t> out(g.frame_bytes());
  DemoJudgementTally tally;
  for (std::size_t n = 0; n < clip.decoded.size(); ++n) {
    ApplyBaseline(baseline, g, clip.decoded, n, out.data());
    tally.Add(ViewStreamFrame(g, clip.decoded[n].data()), ViewStreamFrame(g, out.data()),
              ViewStreamFrame(g, clip.clean[n].data()), clip.detail_masks[n].data());
  }
  return tally.Result();
}

}  // namespace velmire::cli
