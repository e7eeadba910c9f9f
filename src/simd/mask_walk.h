// The edge-mask walk shared by every instruction set and every layout, with the margin
// dispatch that drives it.
//
// An instruction set brings its Blocks (a register of Blocks::kBytes mask bytes: zero, OR,
// store, and byte shifts that carry across neighbouring registers) and, per layout, a Rule that
// finds the flags of one block of mask bytes from the samples under it. A layout says where
// the walk starts and stops, how many mask bytes make a chroma position, and which samples lie
// under a mask byte. The walk does the rest once: the row's guard, the blocks it visits, the
// widening by Margin, the remainder at the row's end and the portable fallback.
//
// Quiet stretches of a row, the usual case, cost only the HasEdges test of each block; a run
// of flagged blocks is widened with the neighbours kept in registers, each output block read
// and written once, and the blocks just outside the run receive what widening carries into
// them.
#pragma once

#include <cstdint>
#include <utility>

#include "detect/edge_mask.h"

namespace velmire::simd {
// Internal linkage: each including file is built for its own instruction set, and the linker
// must not merge an inline helper built for one set into code meant for another.
namespace {

// Calls walk.template operator()<margin>() for a margin of 0 .. 4, so that widening uses
// immediate byte shifts; false for any other margin.
template <typename Walk>
bool WithMargin(int margin, Walk&& walk) {
  switch (margin) {
    case 0:
      walk.template operator()<0>();
      return true;
    case 1:
      walk.template operator()<1>();
      return true;
    case 2:
      walk.template operator()<2>();
      return true;
    case 3:
      walk.template operator()<3>();
      return true;
    case 4:
      walk.template operator()<4>();
      return true;
    default:
      return false;
  }
}

// YUY2: one mask byte per row byte, four per macropixel; groups of two macropixels from
// macropixel 4, stopping 16 bytes before the row's end.
struct Yuy2Layout {
  using Sample = uint8_t;
  static constexpr int kUnit = 4;
  static constexpr int kFirstByte = 16;
  static constexpr int kGroupBytes = 8;
  static constexpr int kTrailingBytes = 16;
  static constexpr EdgeMaskYUY2Fn kPortable = BuildEdgeMaskYUY2Portable;
  // A trailing half macropixel is no chroma position and is never marked.
  static int Limit(int rowSize) { return rowSize / kUnit * kUnit; }
  static const Sample* SamplesOf(const Sample* row, int maskByte) { return row + maskByte; }
};

// Planar, as the portable walk makes it: one mask byte per chroma column, over luma samples 2c
// and 2c+1; groups of four columns from column 4, stopping four columns before the row's end.
template <typename SampleType, EdgeMaskPlanarFnOf<SampleType> kPortableMask>
struct PlanarLayout {
  using Sample = SampleType;
  static constexpr int kUnit = 1;
  static constexpr int kFirstByte = 4;
  static constexpr int kGroupBytes = 4;
  static constexpr int kTrailingBytes = 4;
  static constexpr EdgeMaskPlanarFnOf<Sample> kPortable = kPortableMask;
  static int Limit(int rowSize) { return rowSize; }
  static const Sample* SamplesOf(const Sample* row, int maskByte) { return row + 2 * maskByte; }
};

using Planar8Layout = PlanarLayout<uint8_t, BuildEdgeMaskPlanarPortable>;
using Planar16Layout = PlanarLayout<uint16_t, BuildEdgeMaskPlanar16Portable>;

// Flags of block `cur` with every flagged position spread over `kMargin` positions of `kUnit`
// bytes on each side; `prev` and `next` are the flags of the blocks around it.
template <typename Blocks, int kUnit, int kMargin>
inline typename Blocks::Vector Widened(typename Blocks::Vector prev, typename Blocks::Vector cur,
                                       typename Blocks::Vector next) {
  static_assert(kUnit * kMargin <= 16, "widening reaches at most 16 bytes on each side");
  auto out = cur;
  [&]<int... k>(std::integer_sequence<int, k...>) {
    ((out = Blocks::Or(out, Blocks::Or(Blocks::template TowardsEnd<(k + 1) * kUnit>(prev, cur),
                                       Blocks::template TowardsStart<(k + 1) * kUnit>(cur, next)))),
     ...);
  }
  (std::make_integer_sequence<int, kMargin>{});
  return out;
}

// ORs `marks` into mask bytes start .. start+kBytes-1, keeping only those inside 0 .. limit-1:
// the one rule for the blocks that overhang either end of the row.
template <typename Blocks>
inline void OrIntoMask(uint8_t* mask, int start, int limit, typename Blocks::Vector marks) {
  if (start >= 0 && start + Blocks::kBytes <= limit) {
    Blocks::OrInto(mask + start, marks);
    return;
  }
  uint8_t bytes[Blocks::kBytes];
  Blocks::Store(bytes, marks);
  for (int i = start < 0 ? -start : 0; i < Blocks::kBytes && start + i < limit; ++i)
    mask[start + i] |= bytes[i];
}

// The blocks of a row: block k starts at mask byte firstByte + k * Blocks::kBytes. flagsOf(k)
// gives a block's unwidened flags (0xFF in every byte of a flagged position) and whether any is
// set; for the first fullBlocks blocks, hasEdges(k) answers the second question more cheaply.
template <typename Blocks, int kUnit, int kMargin, typename HasEdges, typename FlagsOf>
void WalkMaskRow(uint8_t* mask, int firstByte, int limit, int blockCount, int fullBlocks,
                 HasEdges hasEdges, FlagsOf flagsOf) {
  using Vector = typename Blocks::Vector;
  using Flags = decltype(flagsOf(0));
  const Vector zero = Blocks::Zero();
  auto emit = [&](int k, Vector prev, Vector cur, Vector next) {
    OrIntoMask<Blocks>(mask, firstByte + Blocks::kBytes * k, limit,
                       Widened<Blocks, kUnit, kMargin>(prev, cur, next));
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

// The edge mask of one row (see detect/edge_mask.h) with Blocks and the Rule of Layout. A Rule
// is built from the threshold; HasEdges(samples) tells whether a whole block has a flag, and
// Flags(samples, groups) gives the flags of a block of `groups` groups (a whole block's worth
// or more: all of them), those of absent groups zero.
template <typename Blocks, typename Layout, typename Rule>
void BuildEdgeMask(const typename Layout::Sample* row, uint8_t* mask, int rowSize, int thresholdY,
                   int margin) {
  if (rowSize <= 2 * Layout::kTrailingBytes) return;
  constexpr int kGroupsPerBlock = Blocks::kBytes / Layout::kGroupBytes;
  const int groupCount =
      (rowSize - Layout::kTrailingBytes - Layout::kFirstByte + Layout::kGroupBytes - 1) /
      Layout::kGroupBytes;
  const int blockCount = (groupCount + kGroupsPerBlock - 1) / kGroupsPerBlock;
  const Rule rule(thresholdY);
  // Inlined into every walk: a call per block would cost more than the block's work.
  auto samplesOf = [&](int k) __attribute__((always_inline)) {
    return Layout::SamplesOf(row, Layout::kFirstByte + Blocks::kBytes * k);
  };
  auto hasEdges = [&](int k) __attribute__((always_inline)) {
    return rule.HasEdges(samplesOf(k));
  };
  auto flagsOf = [&](int k) __attribute__((always_inline)) {
    return rule.Flags(samplesOf(k), groupCount - kGroupsPerBlock * k);
  };
  const bool walked = WithMargin(margin, [&]<int kMargin>() {
    WalkMaskRow<Blocks, Layout::kUnit, kMargin>(mask, Layout::kFirstByte, Layout::Limit(rowSize),
                                                blockCount, groupCount / kGroupsPerBlock, hasEdges,
                                                flagsOf);
  });
  if (!walked) Layout::kPortable(row, mask, rowSize, thresholdY, margin);
}

}  // namespace
}  // namespace velmire::simd
