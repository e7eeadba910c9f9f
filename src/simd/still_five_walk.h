// The still blend's five-frame blend (stronger/still_kernels.h) over the lanes of an
// instruction set, written once. Ops gives the vector type of 16-bit lanes and: kSamples (the
// samples a step takes), Load (that many samples from an element, widened to 16-bit lanes),
// Store (back into the elements, narrowed), Set1, AddSaturated (unsigned), ShiftRight3
// (logical) and Min. The sums saturate at 65535: a sum that large gives at least 8191 after the
// division, so at most maxValue gives the exact result while maxValue is at most 8191, even for
// samples above maxValue; the callers keep deeper clips on the portable kernel.
#pragma once

#include <cstdint>

#include "stronger/still_kernels.h"

namespace velmire::simd {

// The largest maxValue the 16-bit lanes serve.
constexpr int kFiveLanesMaxValue = 8191;

// Blends the first whole steps of the run, samples every `step` elements, and returns how many
// samples it did: the caller finishes the rest.
template <typename Ops, typename Sample>
int BlendFiveWalk(const Sample* const in[5], Sample* out, int count, int step, int shift,
                  int maxValue) {
  const auto half = Ops::Set1(4 << shift);
  const auto max = Ops::Set1(maxValue);
  int x = 0;
  for (; x + Ops::kSamples <= count; x += Ops::kSamples) {
    const int at = x * step;
    const auto inner = Ops::AddSaturated(
        Ops::AddSaturated(Ops::Load(in[1] + at), Ops::Load(in[2] + at)), Ops::Load(in[3] + at));
    const auto sum =
        Ops::AddSaturated(Ops::AddSaturated(Ops::Load(in[0] + at), Ops::Load(in[4] + at)),
                          Ops::AddSaturated(inner, inner));
    Ops::Store(out + at, Ops::Min(Ops::ShiftRight3(Ops::AddSaturated(sum, half)), max));
  }
  return x;
}

// The whole run: the walk's steps (while maxValue allows 16-bit lanes), the rest by `finish`,
// a kernel of the same contract (the next narrower set's, or the portable one).
template <typename Ops, typename Sample>
void BlendFiveRunVia(const Sample* const in[5], Sample* out, int count, int step, int shift,
                     int maxValue, BlendFiveRunFnOf<Sample> finish) {
  const int x = maxValue <= kFiveLanesMaxValue
                    ? BlendFiveWalk<Ops>(in, out, count, step, shift, maxValue)
                    : 0;
  const int at = x * step;
  const Sample* const rest[5] = {in[0] + at, in[1] + at, in[2] + at, in[3] + at, in[4] + at};
  finish(rest, out + at, count - x, shift, maxValue);
}

}  // namespace velmire::simd
