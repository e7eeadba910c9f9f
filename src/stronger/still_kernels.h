// The still blend's pixel kernels (stronger/still_blend.h): the low-pass that judges stillness
// and the blend of still runs, one pair per sample size. The portable versions define the
// results; the vector ones (simd/, neon/) give the same bytes and are chosen with the kernel set.
#pragma once

#include <cstdint>
#include <type_traits>

namespace velmire {

// The low-pass is worked in the working type: 16-bit for 8-bit samples (at most 2 x 60 x 255),
// 32-bit for deeper ones in the portable kernels; the vector kernels work 9- and 10-bit samples
// in 16-bit lanes of the same rows (see LowpassedChunksFnOf).
template <typename Sample>
using StillWork = std::conditional_t<sizeof(Sample) == 1, int16_t, int32_t>;

// Elements past lumaSamples + 9 that the working rows d and t hold, so that a vector kernel may
// run whole vectors over their ends.
constexpr int kStillWorkSlack = 64;

// chunks[j] for j = 1 .. (n + 3) / 8: the sum over luma samples 8j-4 .. 8j+3 (those below n)
// of |low-pass of the difference|, the difference at a sample being now[r] - then[r] summed
// over the `rows` luma rows (1, or 2: the two luma rows of a 4:2:0 chroma row, added before the
// low-pass so that a chroma row costs one low-pass), samples above the largest value of
// 8 + shift bits counting as that value. The low-pass is the 3-, 4- and 5-tap boxes in a row
// over samples i-4 .. i+5, with the row's first and last differences standing in past its
// ends; the 4-tap box's sums are shifted right by `shift` (rounding down), which brings deeper
// samples back to 8-bit steps: a clip of 8-bit samples shifted left gives exactly the 8-bit
// chunks, and the last box of 9- and 10-bit samples stays within 16 bits (2 x 12 x 1023 >> 2,
// times 5). Luma samples lie every `stride` elements (1, or 2 in packed YUY2 rows, 8-bit only,
// whose kernels read the row's 2n bytes); d and t are working rows of n + 9 + kStillWorkSlack
// elements.
template <typename Sample>
using LowpassedChunksFnOf = void (*)(const Sample* const now[2], const Sample* const then[2],
                                     int rows, int n, int stride, int shift,
                                     StillWork<Sample>* d, StillWork<Sample>* t,
                                     int32_t* chunks);

// out[x] for x = 0 .. count-1 of three contiguous rows: (a + 2 own + b) / 4 when partnersAlike,
// else (a + b) / 2, rounded to the nearest (halves up, in 8-bit steps: `shift` is bits - 8)
// and at most maxValue. The packed version takes samples every 4 elements (the U or V bytes of
// YUY2 macropixels) and may read, and write back unchanged, the elements between them and the
// three after the last.
template <typename Sample>
using BlendStillRunFnOf = void (*)(const Sample* a, const Sample* own, const Sample* b,
                                   Sample* out, int count, bool partnersAlike, int shift,
                                   int maxValue);

// out[x] for x = 0 .. count-1 of five rows in[0 .. 4] (frames n-2 .. n+2):
// (in0 + 2 in1 + 2 in2 + 2 in3 + in4) / 8, rounded to the nearest (halves up, in 8-bit steps:
// `shift` is bits - 8) and at most maxValue. The interleaved version (8-bit: YUY2's U and V
// samples, which alternate every second byte from the first U) takes samples every 2 elements,
// and may read, and write back unchanged, the elements between them and the one after the last.
template <typename Sample>
using BlendFiveRunFnOf = void (*)(const Sample* const in[5], Sample* out, int count, int shift,
                                  int maxValue);

// The row's vote on the partners: over the blocks at chroma columns x = 4, 8, .. below end
// whose state[x / 4] is `still` and whose luma has detail (|2 y[i] - y[i-1] - y[i+1]| above
// `detail` at one of the eight luma samples i from 2x on), adds |a - b| to agree and
// |a + b - 2 own| to oppose over the block's four U and four V samples, a, own and b from
// frames n-1, n and n+1. Luma samples lie every lumaStride elements, chroma every chromaStride.
template <typename Sample>
using StillVoteFnOf = void (*)(const Sample* luma, int lumaStride, const Sample* const u[3],
                               const Sample* const v[3], int chromaStride, const uint8_t* state,
                               uint8_t still, int end, int detail, int64_t* agree,
                               int64_t* oppose);

template <typename Sample>
struct StillKernelsOf {
  LowpassedChunksFnOf<Sample> lowpassedChunks;
  BlendStillRunFnOf<Sample> blendRun;
  BlendStillRunFnOf<Sample> blendRunPacked;
  StillVoteFnOf<Sample> vote;
  BlendFiveRunFnOf<Sample> blendFive;
  BlendFiveRunFnOf<Sample> blendFiveInterleaved;
};

template <typename Sample>
void LowpassedChunksPortable(const Sample* const now[2], const Sample* const then[2], int rows,
                             int n, int stride, int shift, StillWork<Sample>* d,
                             StillWork<Sample>* t, int32_t* chunks);
template <typename Sample>
void BlendStillRunPortable(const Sample* a, const Sample* own, const Sample* b, Sample* out,
                           int count, bool partnersAlike, int shift, int maxValue);

template <typename Sample>
void BlendStillRunPackedPortable(const Sample* a, const Sample* own, const Sample* b, Sample* out,
                                 int count, bool partnersAlike, int shift, int maxValue);
template <typename Sample>
void StillVotePortable(const Sample* luma, int lumaStride, const Sample* const u[3],
                       const Sample* const v[3], int chromaStride, const uint8_t* state,
                       uint8_t still, int end, int detail, int64_t* agree, int64_t* oppose);

template <typename Sample>
void BlendFiveRunPortable(const Sample* const in[5], Sample* out, int count, int shift,
                          int maxValue);
template <typename Sample>
void BlendFiveRunInterleavedPortable(const Sample* const in[5], Sample* out, int count, int shift,
                                     int maxValue);

template <typename Sample>
constexpr StillKernelsOf<Sample> PortableStillKernels() {
  return {LowpassedChunksPortable<Sample>,     BlendStillRunPortable<Sample>,
          BlendStillRunPackedPortable<Sample>, StillVotePortable<Sample>,
          BlendFiveRunPortable<Sample>,        BlendFiveRunInterleavedPortable<Sample>};
}

}  // namespace velmire
