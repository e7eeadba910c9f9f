// The still blend's blends of runs (stronger/still_kernels.h) over the lanes of an instruction
// set, written once: the three-frame blend of planar rows and the five-frame blend of planar
// and interleaved ones. Ops gives the vector type of 16-bit lanes and: kSamples (the samples a
// step takes), Load (that many samples from an element, widened to 16-bit lanes), Store (back
// into the elements, narrowed), Set1, AddSaturated (unsigned), ShiftRight (logical, by a count
// in a register) and Min. The sums saturate at 65535: a sum that large gives at least 8191
// after the division by 8 (and more after a division by 4 or 2), so at most maxValue gives the
// exact result while maxValue is at most 8191, even for samples above maxValue; the callers
// keep deeper clips on a kernel of wider lanes or the portable one.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "stronger/still_kernels.h"

namespace velmire::simd {

// The largest maxValue the 16-bit lanes serve.
constexpr int kBlendLanesMaxValue = 8191;

// The three-frame blend's first whole steps of a planar run: (a + 2 own + b) / 4 when
// partnersAlike, else (a + b) / 2; returns how many samples it did.
template <typename Ops, typename Sample>
int BlendThreeWalk(const Sample* a, const Sample* own, const Sample* b, Sample* out, int count,
                   bool partnersAlike, int shift, int maxValue) {
  const auto half = Ops::Set1((partnersAlike ? 2 : 1) << shift);
  const auto max = Ops::Set1(maxValue);
  const __m128i divide = _mm_cvtsi32_si128(partnersAlike ? 2 : 1);
  int x = 0;
  for (; x + Ops::kSamples <= count; x += Ops::kSamples) {
    auto sum = Ops::AddSaturated(Ops::Load(a + x), Ops::Load(b + x));
    if (partnersAlike) {
      const auto own1 = Ops::Load(own + x);
      sum = Ops::AddSaturated(sum, Ops::AddSaturated(own1, own1));
    }
    Ops::Store(out + x, Ops::Min(Ops::ShiftRight(Ops::AddSaturated(sum, half), divide), max));
  }
  return x;
}

// The whole run: the walk's steps (while maxValue allows 16-bit lanes), the rest by `finish`.
template <typename Ops, typename Sample>
void BlendThreeRunVia(const Sample* a, const Sample* own, const Sample* b, Sample* out, int count,
                      bool partnersAlike, int shift, int maxValue,
                      BlendStillRunFnOf<Sample> finish) {
  const int x = maxValue <= kBlendLanesMaxValue
                    ? BlendThreeWalk<Ops>(a, own, b, out, count, partnersAlike, shift, maxValue)
                    : 0;
  finish(a + x, own + x, b + x, out + x, count - x, partnersAlike, shift, maxValue);
}

// The five-frame blend's first whole steps of a run, samples every `step` elements; returns how
// many samples it did.
template <typename Ops, typename Sample>
int BlendFiveWalk(const Sample* const in[5], Sample* out, int count, int step, int shift,
                  int maxValue) {
  const auto half = Ops::Set1(4 << shift);
  const auto max = Ops::Set1(maxValue);
  const __m128i divide = _mm_cvtsi32_si128(3);
  int x = 0;
  for (; x + Ops::kSamples <= count; x += Ops::kSamples) {
    const int at = x * step;
    const auto inner = Ops::AddSaturated(
        Ops::AddSaturated(Ops::Load(in[1] + at), Ops::Load(in[2] + at)), Ops::Load(in[3] + at));
    const auto sum =
        Ops::AddSaturated(Ops::AddSaturated(Ops::Load(in[0] + at), Ops::Load(in[4] + at)),
                          Ops::AddSaturated(inner, inner));
    Ops::Store(out + at, Ops::Min(Ops::ShiftRight(Ops::AddSaturated(sum, half), divide), max));
  }
  return x;
}

// The whole run: the walk's steps (while maxValue allows 16-bit lanes), the rest by `finish`,
// a kernel of the same contract (the next narrower set's, or the portable one).
template <typename Ops, typename Sample>
void BlendFiveRunVia(const Sample* const in[5], Sample* out, int count, int step, int shift,
                     int maxValue, BlendFiveRunFnOf<Sample> finish) {
  const int x = maxValue <= kBlendLanesMaxValue
                    ? BlendFiveWalk<Ops>(in, out, count, step, shift, maxValue)
                    : 0;
  const int at = x * step;
  const Sample* const rest[5] = {in[0] + at, in[1] + at, in[2] + at, in[3] + at, in[4] + at};
  finish(rest, out + at, count - x, shift, maxValue);
}

}  // namespace velmire::simd
