// The stronger mode's blend with partners, with SSE2, for 8-bit planar and YUY2 blocks: the
// detail test, the partners' luma differences and the chroma blend each in a few packed
// operations. Blocks whose detail window reaches the row's end take the portable path, which
// skips the samples without a right neighbour.
#include <emmintrin.h>

#include <cstdint>

#include "planar/stronger_block_planar.h"
#include "simd/block_search_sse2.h"
#include "simd/vector_kernels.h"
#include "yuy2/stronger_block_yuy2.h"

namespace velmire::simd {
namespace {

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

// Whether any lane of |2 centre - left - right| (16-bit lanes of 8-bit samples) exceeds detail.
inline bool DetailExceeds(__m128i left, __m128i centre, __m128i right, __m128i detail) {
  const __m128i second = _mm_sub_epi16(_mm_add_epi16(centre, centre), _mm_add_epi16(left, right));
  return _mm_movemask_epi8(_mm_cmpgt_epi16(Abs16(second), detail)) != 0;
}

inline int SumLanes16(__m128i v) {
  __m128i sums = _mm_madd_epi16(v, _mm_set1_epi16(1));
  sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
  sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(sums);
}

// The blend of eight chroma samples (16-bit lanes): see BlendWithPartners.
inline __m128i BlendLanes(__m128i own, __m128i a, __m128i b, __m128i marked) {
  const __m128i sum = _mm_add_epi16(a, b);
  const __m128i twiceOwn = _mm_add_epi16(own, own);
  const int agree = SumLanes16(_mm_and_si128(marked, Abs16(_mm_sub_epi16(a, b))));
  const int oppose = SumLanes16(_mm_and_si128(marked, Abs16(_mm_sub_epi16(sum, twiceOwn))));
  const __m128i blended = 2 * agree <= oppose
                              ? _mm_srli_epi16(_mm_add_epi16(twiceOwn, sum), 2)
                              : _mm_srli_epi16(sum, 1);
  return _mm_or_si128(_mm_and_si128(marked, blended), _mm_andnot_si128(marked, own));
}

inline __m128i Widen(__m128i bytes) { return _mm_unpacklo_epi8(bytes, _mm_setzero_si128()); }

// 0xFFFF in the lanes whose byte in `entries` (one per lane) is non-zero.
inline __m128i MarkedLanes(__m128i entries16) {
  return _mm_xor_si128(_mm_cmpeq_epi16(entries16, _mm_setzero_si128()), _mm_set1_epi32(-1));
}

bool PlanarPairUsable(const RowJobPlanar& job, int a, int b, const PartnerLimits& limits,
                      int first) {
  if (a < 0 || b < 0) return false;
  const RowCandidatePlanar& ea = job.candidates[a];
  const RowCandidatePlanar& eb = job.candidates[b];
  const __m128i lumaA = Load64(ea.luma + first);
  const __m128i lumaB = Load64(eb.luma + first);
  const __m128i fromReference =
      _mm_sad_epu8(_mm_unpacklo_epi64(lumaA, lumaB),
                   _mm_unpacklo_epi64(Load64(ea.reference + first), Load64(eb.reference + first)));
  const int differenceA = _mm_cvtsi128_si32(fromReference);
  const int differenceB = _mm_cvtsi128_si32(_mm_srli_si128(fromReference, 8));
  const int between = _mm_cvtsi128_si32(_mm_sad_epu8(lumaA, lumaB));
  return differenceA < limits.noise && differenceB < limits.noise && between < limits.match;
}

bool Yuy2PairUsable(const RowJobYUY2& job, int a, int b, const PartnerLimits& limits, int x) {
  const __m128i lumaLanes = _mm_set1_epi16(0x00FF);
  const __m128i lumaA = _mm_and_si128(Load128(job.candidates[static_cast<size_t>(a)].row + x), lumaLanes);
  const __m128i lumaB = _mm_and_si128(Load128(job.candidates[static_cast<size_t>(b)].row + x), lumaLanes);
  const __m128i reference = _mm_and_si128(Load128(job.reference + x), lumaLanes);
  const __m128i fromReference =
      _mm_sad_epu8(_mm_packus_epi16(lumaA, lumaB), _mm_packus_epi16(reference, reference));
  const int differenceA = _mm_cvtsi128_si32(fromReference);
  const int differenceB = _mm_cvtsi128_si32(_mm_srli_si128(fromReference, 8));
  const int between = _mm_cvtsi128_si32(
      _mm_sad_epu8(_mm_packus_epi16(lumaA, lumaA), _mm_packus_epi16(lumaB, lumaB)));
  return differenceA < limits.noise && differenceB < limits.noise && between < limits.match;
}

}  // namespace

void BlendBlockWithPartnersPlanarSse2(const RowJobPlanar& job, int x, const uint8_t* mask) {
  const PartnerEntriesPlanar& partners = *job.partners;
  const PartnerLimits& limits = job.limits;
  const int first = 2 * x;
  // The detail window, samples first-3 .. first+12, must lie inside the row.
  if (first + 13 > 2 * job.chromaWidth) {
    BlendBlockWithPartnersPlanar(job, x, mask);
    return;
  }
  const __m128i window = Load128(job.candidates[partners.previous].reference + first - 3);
  const __m128i detail = _mm_set1_epi16(static_cast<short>(limits.detail));
  const bool fine =
      DetailExceeds(Widen(window), Widen(_mm_srli_si128(window, 1)),
                    Widen(_mm_srli_si128(window, 2)), detail) ||
      DetailExceeds(Widen(_mm_srli_si128(window, 4)), Widen(_mm_srli_si128(window, 5)),
                    Widen(_mm_srli_si128(window, 6)), detail);
  if (!fine) return;
  int a = 0;
  int b = 0;
  auto usable = [&](int i, int j) { return PlanarPairUsable(job, i, j, limits, first); };
  if (!ChoosePartners(partners, usable, &a, &b)) return;
  const RowCandidatePlanar& ea = job.candidates[a];
  const RowCandidatePlanar& eb = job.candidates[b];
  auto chroma = [x](const uint8_t* u, const uint8_t* v) {
    return Widen(_mm_unpacklo_epi32(Load32(u + x), Load32(v + x)));
  };
  const __m128i entries = Load32(mask + x);
  const __m128i marked = MarkedLanes(Widen(_mm_unpacklo_epi32(entries, entries)));
  const __m128i out = BlendLanes(chroma(job.sourceU, job.sourceV), chroma(ea.u, ea.v),
                                 chroma(eb.u, eb.v), marked);
  const __m128i bytes = _mm_packus_epi16(out, out);
  Store32(job.outputU + x, bytes);
  Store32(job.outputV + x, _mm_srli_si128(bytes, 4));
}

void BlendBlockWithPartnersYUY2Sse2(const RowJobYUY2& job, int x, const uint8_t* mask) {
  const PartnerEntriesYUY2& partners = *job.partners;
  const PartnerLimits& limits = job.limits;
  // The detail window, luma bytes x-6 .. x+20, must lie inside the row.
  if (x + 22 > job.rowSize) {
    BlendBlockWithPartnersYUY2(job, x, mask);
    return;
  }
  const uint8_t* reference = job.reference + x;
  const __m128i lumaLanes = _mm_set1_epi16(0x00FF);
  auto luma = [&](int offset) { return _mm_and_si128(Load128(reference + offset), lumaLanes); };
  const __m128i detail = _mm_set1_epi16(static_cast<short>(limits.detail));
  const bool fine = DetailExceeds(luma(-6), luma(-4), luma(-2), detail) ||
                    DetailExceeds(luma(2), luma(4), luma(6), detail);
  if (!fine) return;
  int a = 0;
  int b = 0;
  auto usable = [&](int i, int j) { return Yuy2PairUsable(job, i, j, limits, x); };
  if (!ChoosePartners(partners, usable, &a, &b)) return;
  auto chroma = [x](const uint8_t* row) { return _mm_srli_epi16(Load128(row + x), 8); };
  const __m128i marked = MarkedLanes(_mm_srli_epi16(Load128(mask + x), 8));
  const __m128i out = BlendLanes(chroma(job.reference), chroma(job.candidates[static_cast<size_t>(a)].row),
                                 chroma(job.candidates[static_cast<size_t>(b)].row), marked);
  uint8_t* output = job.output + x;
  const __m128i block = _mm_or_si128(_mm_and_si128(Load128(output), lumaLanes), _mm_slli_epi16(out, 8));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(output), block);
}

}  // namespace velmire::simd
