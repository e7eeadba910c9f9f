// The row walk shared by the vector mask routines of both layouts and both instruction sets.
//
// The mask is handled in blocks of Blocks::kBytes bytes; block k starts at mask byte
// firstByte + k * Blocks::kBytes. flagsOf(k) gives a block's unwidened flags (0xFF in every
// byte of a flagged position) and whether any is set; for the first fullBlocks blocks,
// hasEdges(k) answers the second question more cheaply. Widening is an OR of shifted copies of
// the flags, so each output block is the widening of its own flags and its two neighbours'.
// Quiet stretches of a row, the usual case, cost only the hasEdges test of each block; a run
// of flagged blocks is widened with the neighbours kept in registers, each output block read
// and written once, and the blocks just outside the run receive what widening carries into
// them.
#pragma once

#include <cstdint>

namespace velmire::simd {
namespace {

// The planar walk, as the portable one makes it: groups of four chroma columns from column 4
// (luma sample 8), stopping four columns before the row's end.
inline constexpr int kPlanarFirstGroupColumn = 4;
inline constexpr int kPlanarGroupColumns = 4;
inline constexpr int kPlanarTrailingColumns = 4;

// The groups a walk visits (starting at `first`, every `groupSize`, while below
// rowSize - trailing) and the blocks of `groupsPerBlock` groups that hold them.
struct WalkExtent {
  int groupCount;
  int blockCount;
};

inline WalkExtent WalkExtentOf(int rowSize, int first, int trailing, int groupSize,
                               int groupsPerBlock) {
  const int groupCount = (rowSize - trailing - first + groupSize - 1) / groupSize;
  return {groupCount, (groupCount + groupsPerBlock - 1) / groupsPerBlock};
}

template <typename Blocks, int kUnit, int kMargin, typename HasEdges, typename FlagsOf>
void WalkMaskRow(uint8_t* mask, int firstByte, int limit, int blockCount, int fullBlocks,
                 HasEdges hasEdges, FlagsOf flagsOf) {
  using Vector = typename Blocks::Vector;
  using Flags = decltype(flagsOf(0));
  const Vector zero = Blocks::Zero();
  auto emit = [&](int k, Vector prev, Vector cur, Vector next) {
    Blocks::OrInto(mask, firstByte + Blocks::kBytes * k, limit,
                   Blocks::template Widen<kUnit, kMargin>(prev, cur, next));
  };
  int k = 0;
  while (true) {
    while (k < fullBlocks && !hasEdges(k)) ++k;
    if (k >= blockCount) return;
    Flags cur = flagsOf(k);
    if (!cur.any) {  // only the last, partial block gets here without a flag
      ++k;
      continue;
    }
    // A run of flagged blocks from k on; block k-1 holds no flag.
    if constexpr (kMargin > 0) emit(k - 1, zero, zero, cur.flags);
    Vector prev = zero;
    while (true) {
      const Flags next = k + 1 < blockCount ? flagsOf(k + 1) : Flags{zero, false};
      emit(k, prev, cur.flags, next.flags);
      if (!next.any) {
        if constexpr (kMargin > 0) emit(k + 1, cur.flags, zero, zero);
        k += 2;
        break;
      }
      prev = cur.flags;
      cur = next;
      ++k;
    }
  }
}

}  // namespace
}  // namespace velmire::simd
