#include "lab/sweep/sweep_baselines.h"

#include <algorithm>
#include <cstdlib>

#include "lab/clips/tool_names.h"

namespace velmire::lab {
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

// Whether the 8x8 luma block at (bx, by) differs from frame `now`'s by at most `gate` on
// average.
bool LumaAgrees(const FrameGeometry& g, const std::uint8_t* now, const std::uint8_t* other,
                int bx, int by, int gate) {
  const int x1 = std::min(bx + 8, g.width), y1 = std::min(by + 8, g.height);
  int sum = 0;
  for (int y = by; y < y1; ++y) {
    const std::size_t row = std::size_t(y) * std::size_t(g.width);
    for (int x = bx; x < x1; ++x) sum += std::abs(int(now[row + x]) - int(other[row + x]));
  }
  return sum <= gate * (x1 - bx) * (y1 - by);
}

void GatedAverage(const FrameGeometry& g, const std::uint8_t* before, const std::uint8_t* now,
                  const std::uint8_t* after, int gate, std::uint8_t* out) {
  const int sx = g.width / g.chroma_width, sy = g.height / g.chroma_height;
  const std::size_t w = std::size_t(g.chroma_width);
  for (int by = 0; by < g.height; by += 8) {
    for (int bx = 0; bx < g.width; bx += 8) {
      if (!LumaAgrees(g, now, before, bx, by, gate) || !LumaAgrees(g, now, after, bx, by, gate)) {
        continue;
      }
      const int cx1 = std::min(bx + 8, g.width) / sx, cy1 = std::min(by + 8, g.height) / sy;
      for (std::size_t plane = 0; plane < 2; ++plane) {
        const std::size_t start = g.luma_bytes() + plane * g.chroma_bytes();
        for (int cy = by / sy; cy < cy1; ++cy) {
          for (int cx = bx / sx; cx < cx1; ++cx) {
            const std::size_t i = start + std::size_t(cy) * w + std::size_t(cx);
            out[i] = static_cast<std::uint8_t>((before[i] + 2 * now[i] + after[i] + 2) / 4);
          }
        }
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
    case Baseline::kGatedAverage: return "gated average";
  }
  return "?";
}

void ApplyBaseline(Baseline baseline, const FrameGeometry& g,
                   const std::vector<std::vector<std::uint8_t>>& frames, std::size_t n,
                   std::uint8_t* out, const GatedAverageParams& gated) {
  const std::uint8_t* now = frames[n].data();
  std::copy(now, now + g.frame_bytes(), out);
  const std::size_t step = baseline == Baseline::kGatedAverage ? std::size_t(gated.step) : 1;
  const std::uint8_t* before = frames[n >= step ? n - step : n].data();
  const std::uint8_t* after = frames[n + step < frames.size() ? n + step : n].data();
  if (baseline == Baseline::kTemporalAverage) {
    TemporalAverage(g, before, now, after, out);
  } else if (baseline == Baseline::kVerticalBlur) {
    VerticalBlur(g, now, out);
  } else if (baseline == Baseline::kGatedAverage) {
    GatedAverage(g, before, now, after, gated.gate, out);
  }
}

DemoJudgement JudgeBaseline(Baseline baseline, const StoredDemoClip& clip, const FrameGeometry& g,
                            const GatedAverageParams& gated) {
  std::vector<std::uint8_t> out(g.frame_bytes());
  DemoJudgementTally tally;
  for (const std::size_t n : FramesToJudge(clip)) {
    ApplyBaseline(baseline, g, clip.decoded, n, out.data(), gated);
    tally.Add(ViewStreamFrame(g, clip.decoded[n].data()), ViewStreamFrame(g, out.data()),
              ViewStreamFrame(g, clip.clean[n].data()), clip.detail_masks[n].data());
  }
  return tally.Result();
}

GatedAverageResult JudgeGatedAverageAtBestGate(const StoredDemoClip& clip, const FrameGeometry& g,
                                               int step) {
  GatedAverageResult best;
  for (const int gate : kGatedAverageGates) {
    const DemoJudgement j = JudgeBaseline(Baseline::kGatedAverage, clip, g, {step, gate});
    if (best.gate == 0 || j.after.detailed < best.judgement.after.detailed) best = {j, gate};
  }
  return best;
}

}  // namespace velmire::lab
