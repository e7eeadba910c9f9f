// The YUY2 block search as a walk over the 50 candidates in batches of eight: each batch's luma
// differences become keys (see block_search_sse2.h), the smallest key names the block whose
// chroma is blended, and a block near the row's end whose candidates may reach past it is
// redone one candidate after another. How a batch becomes keys (Batch) is its parameter, so
// that each instruction set builds the walk with its own.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "simd/block_search_sse2.h"
#include "simd/vector_kernels.h"

namespace velmire::simd {
namespace {

// The YUY2 search: candidate blocks of 16 bytes, compared on their luma with the reference's.
constexpr int kYuy2Batch = 8;
constexpr int kYuy2FullBatches = kYuy2CandidateCount / kYuy2Batch;
static_assert(kYuy2CandidateCount == kYuy2FullBatches * kYuy2Batch + 2,
              "the search is laid out as whole batches and one last pair");

// Where each candidate's block starts for the row's first block (x = 16): worked out once per
// row, so that a search reads one pointer per candidate, not a row and a shift.
class CandidateStarts {
 public:
  static constexpr int kFirstBlock = kBlockBytesYUY2;

  explicit CandidateStarts(const RowJobYUY2& job) {
    for (int i = 0; i < kYuy2CandidateCount; ++i) {
      const RowCandidateYUY2& c = job.candidates[size_t(i)];
      starts_[i] = c.row + kFirstBlock + 2 * static_cast<ptrdiff_t>(c.shift);
    }
  }

  // Candidate i's block for the block at x.
  const uint8_t* Block(int i, ptrdiff_t x) const { return starts_[i] + (x - kFirstBlock); }

 private:
  const uint8_t* starts_[kYuy2CandidateCount];
};

// The blocks of one search, candidate by candidate. A candidate whose 16 bytes would reach past
// the row's last byte is not read: the reference block stands in for it, and `reachesPast`
// records that the search must be redone without it. kCheck: whether the candidates are checked
// against the row's end at all; a block far enough from the end has none that reaches past it.
template <bool kCheck>
class CandidateBlocks {
 public:
  CandidateBlocks(const RowJobYUY2& job, const CandidateStarts& starts, int x)
      : candidates_(job.candidates.data()),
        starts_(starts),
        reference_(job.reference + x),
        x_(x),
        lastStart_(static_cast<ptrdiff_t>(job.rowSize) - 16) {}

  const uint8_t* operator()(int i) {
    if (kCheck && x_ + 2 * static_cast<ptrdiff_t>(candidates_[i].shift) > lastStart_) {
      reachesPast_ = true;
      return reference_;
    }
    return starts_.Block(i, x_);
  }

  bool reachesPast() const { return reachesPast_; }

  // The block of the candidate named by `key`, or the reference when the key is not accepted.
  const uint8_t* Chosen(int key, int noise) const {
    const int winner = AcceptedIndex(key, noise);
    return winner < 0 ? reference_ : starts_.Block(winner, x_);
  }

 private:
  const RowCandidateYUY2* candidates_;
  const CandidateStarts& starts_;
  const uint8_t* reference_;
  ptrdiff_t x_;
  ptrdiff_t lastStart_;
  bool reachesPast_ = false;
};

// Keys of candidates i and i+1 alone, in lanes 0 and 4; the other lanes hold kNoKey.
template <typename Blocks>
inline __m128i LastPairKeys(Blocks& blocks, int i, __m128i referenceLuma) {
  const __m128i differences = LumaPairDifferences(blocks(i), blocks(i + 1), referenceLuma);
  const __m128i keys = CandidateKeys(
      differences,
      _mm_setr_epi16(static_cast<short>(i), 0, 0, 0, static_cast<short>(i + 1), 0, 0, 0));
  return _mm_max_epi16(keys, _mm_setr_epi16(0, kNoKey, kNoKey, kNoKey, 0, kNoKey, kNoKey, kNoKey));
}

// The chosen block found by keys, or null when a candidate reaches past the row's last byte.
// Batch::Keys gives the keys of eight candidates.
template <typename Batch, bool kCheck>
const uint8_t* KeyedBestBlock(const RowJobYUY2& job, const CandidateStarts& starts, int x,
                              __m128i referenceLuma) {
  CandidateBlocks<kCheck> blocks(job, starts, x);
  __m128i smallest = LastPairKeys(blocks, kYuy2FullBatches * kYuy2Batch, referenceLuma);
#pragma GCC unroll 8
  for (int b = 0; b < kYuy2FullBatches; ++b) {
    smallest = _mm_min_epi16(smallest, Batch::Keys(blocks, b * kYuy2Batch, referenceLuma));
  }
  if (blocks.reachesPast()) return nullptr;
  return blocks.Chosen(SmallestKey(smallest), job.noise);
}

// The chosen block found by trying the candidates one after another with a running best, as
// the portable search does.
const uint8_t* SequentialBestBlock(const RowJobYUY2& job, int x, __m128i referenceLuma) {
  int best = job.noise;
  const uint8_t* bestBlock = job.reference + x;
  for (const RowCandidateYUY2& c : job.candidates) {
    if (x + 2 * c.shift + 16 > job.rowSize) continue;
    const uint8_t* block = c.row + x + 2 * c.shift;
    const int difference = _mm_cvtsi128_si32(LumaPairDifferences(block, block, referenceLuma));
    if (difference < best) {
      best = difference;
      bestBlock = block;
    }
  }
  return bestBlock;
}

// The output block: luma of the reference; U and V of each macropixel whose mask byte (the
// byte before the chroma byte: 4m for U, 4m+2 for V) is non-zero averaged with the best
// block's, the rest of the reference.
inline __m128i BlendBlockYUY2(__m128i reference, __m128i best, const uint8_t* maskBytes) {
  const __m128i marked = NonZeroBytes(Load128(maskBytes));
  const __m128i chromaSelect =
      _mm_and_si128(_mm_slli_si128(marked, 1), _mm_set1_epi16(static_cast<short>(0xFF00)));
  return SelectBytes(chromaSelect, FloorAverage(reference, best), reference);
}

template <typename Batch>
void CorrectBlockYUY2With(const RowJobYUY2& job, const CandidateStarts& starts, int x,
                          const uint8_t* mask) {
  const __m128i reference = Load128(job.reference + x);
  const __m128i referenceLuma = LumaTwice(reference);
  const bool check = x + 2 * kLargestShiftYUY2 + kBlockBytesYUY2 > job.rowSize;
  const uint8_t* bestBlock = nullptr;
  if (job.noise <= kLargestKeyedNoise) {
    bestBlock = check ? KeyedBestBlock<Batch, true>(job, starts, x, referenceLuma)
                      : KeyedBestBlock<Batch, false>(job, starts, x, referenceLuma);
  }
  if (bestBlock == nullptr) bestBlock = SequentialBestBlock(job, x, referenceLuma);
  const __m128i out = BlendBlockYUY2(reference, Load128(bestBlock), mask + x);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(job.output + x), out);
}

template <typename Batch>
void CorrectRowYUY2With(const RowJobYUY2& job, const uint8_t* mask) {
  const CandidateStarts starts(job);
  ForEachMarkedBlockYUY2(job, mask, [&](int x) {
    CorrectBlockYUY2With<Batch>(job, starts, x, mask);
    if (job.partners != nullptr) BlendBlockWithPartnersYUY2Sse2(job, x, mask);
  });
}

}  // namespace
}  // namespace velmire::simd
