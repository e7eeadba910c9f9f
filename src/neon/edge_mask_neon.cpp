// Edge masks with NEON: the edge rule on sixteen positions at once (sixteen planar chroma
// columns or sixteen YUY2 macropixels), each run of flagged positions then widened with one
// fill. The walks visit the positions the portable walks visit; the few left at a row's end,
// fewer than a block, go through the portable group rule.
#include <arm_neon.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "detect/edge_group_flags.h"
#include "detect/mask_widening.h"
#include "neon/neon_kernels.h"

namespace velmire::neon {
namespace {

constexpr int kBlockPositions = 16;

// All ones where `centre` lies strictly between `left` and `right` and they differ by more
// than `threshold`. With lo and hi the smaller and larger neighbour, the centre lies strictly
// between them when both saturating differences centre - lo and hi - centre are non-zero.
inline uint8x16_t EdgeLanes(uint8x16_t left, uint8x16_t centre, uint8x16_t right,
                            uint8x16_t threshold) {
  const uint8x16_t lo = vminq_u8(left, right);
  const uint8x16_t hi = vmaxq_u8(left, right);
  const uint8x16_t between = vminq_u8(vqsubq_u8(centre, lo), vqsubq_u8(hi, centre));
  const uint8x16_t edge = vminq_u8(between, vqsubq_u8(vsubq_u8(hi, lo), threshold));
  return vtstq_u8(edge, edge);
}

inline uint16x8_t EdgeLanes(uint16x8_t left, uint16x8_t centre, uint16x8_t right,
                            uint16x8_t threshold) {
  const uint16x8_t lo = vminq_u16(left, right);
  const uint16x8_t hi = vmaxq_u16(left, right);
  const uint16x8_t between = vminq_u16(vqsubq_u16(centre, lo), vqsubq_u16(hi, centre));
  const uint16x8_t edge = vminq_u16(between, vqsubq_u16(vsubq_u16(hi, lo), threshold));
  return vtstq_u16(edge, edge);
}

// The threshold in every lane, clamped to the samples' range: below 0 it acts as 0 (a sample
// strictly between its neighbours already needs a spread of 2), above the largest sample as
// that (no spread exceeds it).
inline uint8x16_t ThresholdBytes(int thresholdY) {
  return vdupq_n_u8(static_cast<uint8_t>(std::clamp(thresholdY, 0, 0xFF)));
}

inline uint16x8_t ThresholdWords(int thresholdY) {
  return vdupq_n_u16(static_cast<uint16_t>(std::clamp(thresholdY, 0, 0xFFFF)));
}

// Planar depths: the flags of sixteen chroma columns whose luma starts at `luma` (sample 2x),
// reading luma[-1 .. 32]. Of each pair of luma samples, the even one has its neighbours at
// odd offsets and the odd one at even offsets: de-interleaving loads one sample before and
// after give both.
struct PlanarBytes {
  using Sample = uint8_t;
  using Threshold = uint8x16_t;
  static Threshold MakeThreshold(int thresholdY) { return ThresholdBytes(thresholdY); }
  static uint8x16_t ColumnFlags(const uint8_t* luma, Threshold threshold) {
    const uint8x16x2_t before = vld2q_u8(luma - 1);  // [0]: left of the even samples
    const uint8x16x2_t at = vld2q_u8(luma);          // even and odd samples
    const uint8x16x2_t after = vld2q_u8(luma + 1);   // [1]: right of the odd samples
    return vorrq_u8(EdgeLanes(before.val[0], at.val[0], at.val[1], threshold),
                    EdgeLanes(at.val[0], at.val[1], after.val[1], threshold));
  }
};

struct PlanarWords {
  using Sample = uint16_t;
  using Threshold = uint16x8_t;
  static Threshold MakeThreshold(int thresholdY) { return ThresholdWords(thresholdY); }
  static uint8x16_t ColumnFlags(const uint16_t* luma, Threshold threshold) {
    return vcombine_u8(EightColumnFlags(luma, threshold), EightColumnFlags(luma + 16, threshold));
  }

 private:
  static uint8x8_t EightColumnFlags(const uint16_t* luma, Threshold threshold) {
    const uint16x8x2_t before = vld2q_u16(luma - 1);
    const uint16x8x2_t at = vld2q_u16(luma);
    const uint16x8x2_t after = vld2q_u16(luma + 1);
    return vmovn_u16(vorrq_u16(EdgeLanes(before.val[0], at.val[0], at.val[1], threshold),
                               EdgeLanes(at.val[0], at.val[1], after.val[1], threshold)));
  }
};

// Sets the entries of positions first-margin .. last+margin inside 0 .. positionCount-1.
inline void MarkRunWidened(uint8_t* mask, int positionCount, int bytesPerPosition, int first,
                           int last, int margin) {
  const int from = std::max(first - margin, 0);
  const int to = std::min(last + margin, positionCount - 1);
  if (to < from) return;
  std::memset(mask + from * bytesPerPosition, 0xFF,
              static_cast<size_t>(to - from + 1) * bytesPerPosition);
}

// Marks, widened, the flagged ones of the sixteen positions from `firstPosition` (`flags`
// holds 0xFF in the byte of each flagged position), one fill per run of flagged positions.
inline void MarkFlagged(uint8_t* mask, int positionCount, int bytesPerPosition,
                        int firstPosition, uint8x16_t flags, int margin) {
  // Four bits per position, all set for a flagged one.
  uint64_t bits = vget_lane_u64(
      vreinterpret_u64_u8(vshrn_n_u16(vreinterpretq_u16_u8(flags), 4)), 0);
  while (bits != 0) {
    const int start = std::countr_zero(bits) / 4;
    const int end = start + std::countr_one(bits >> (4 * start)) / 4;
    MarkRunWidened(mask, positionCount, bytesPerPosition, firstPosition + start,
                   firstPosition + end - 1, margin);
    bits = end == kBlockPositions ? 0 : bits & (~uint64_t{0} << (4 * end));
  }
}

// Marks the positions of a portable group's flags (bit k: position first + k).
inline void MarkGroupFlags(uint8_t* mask, int positionCount, int bytesPerPosition, int first,
                           unsigned flags, int margin) {
  for (int k = 0; flags >> k != 0; ++k) {
    if (flags & (1u << k)) MarkWidened(mask, positionCount, bytesPerPosition, first + k, margin);
  }
}

// The portable planar walk: groups of four columns from column 4 while a group starts before
// the last four columns.
constexpr int kPlanarFirstColumn = 4;
constexpr int kPlanarGroupColumns = 4;
constexpr int kPlanarTrailingColumns = 4;

template <typename Depth>
void BuildEdgeMaskPlanarOf(const typename Depth::Sample* lumaRow, uint8_t* mask,
                           int chromaRowSize, int thresholdY, int margin) {
  if (chromaRowSize <= 2 * kPlanarTrailingColumns || margin < 0) return;
  const int groups = (chromaRowSize - kPlanarTrailingColumns - kPlanarFirstColumn +
                      kPlanarGroupColumns - 1) / kPlanarGroupColumns;
  const int end = kPlanarFirstColumn + kPlanarGroupColumns * groups;  // past the last examined
  const typename Depth::Threshold threshold = Depth::MakeThreshold(thresholdY);
  int x = kPlanarFirstColumn;
  for (; x + kBlockPositions <= end; x += kBlockPositions) {
    const uint8x16_t flags = Depth::ColumnFlags(lumaRow + 2 * x, threshold);
    if (vmaxvq_u8(flags) != 0) MarkFlagged(mask, chromaRowSize, 1, x, flags, margin);
  }
  for (; x < end; x += kPlanarGroupColumns) {
    MarkGroupFlags(mask, chromaRowSize, 1, x, EdgeFlagsPlanarGroup(lumaRow + 2 * x, thresholdY),
                   margin);
  }
}

// The portable YUY2 walk: groups of two macropixels from macropixel 4 while a group starts
// before the last 16 bytes.
constexpr int kBytesPerMacropixel = 4;
constexpr int kYuy2FirstMacropixel = 4;
constexpr int kYuy2GroupMacropixels = 2;
constexpr int kYuy2TrailingBytes = 16;

// Flags of the sixteen macropixels from `row` (Y0 U Y1 V each), reading row[-4 .. 67]: Y0's
// neighbours are the Y1 before it and its own Y1; Y1's are its own Y0 and the next Y0.
inline uint8x16_t MacropixelFlags(const uint8_t* row, uint8x16_t threshold) {
  const uint8x16x4_t before = vld4q_u8(row - kBytesPerMacropixel);
  const uint8x16x4_t at = vld4q_u8(row);
  const uint8x16x4_t after = vld4q_u8(row + kBytesPerMacropixel);
  return vorrq_u8(EdgeLanes(before.val[2], at.val[0], at.val[2], threshold),
                  EdgeLanes(at.val[0], at.val[2], after.val[0], threshold));
}

}  // namespace

void BuildEdgeMaskPlanarNeon(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                             int thresholdY, int margin) {
  BuildEdgeMaskPlanarOf<PlanarBytes>(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

void BuildEdgeMaskPlanar16Neon(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                               int thresholdY, int margin) {
  BuildEdgeMaskPlanarOf<PlanarWords>(lumaRow, mask, chromaRowSize, thresholdY, margin);
}

void BuildEdgeMaskYUY2Neon(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                           int margin) {
  if (rowSize <= 2 * kYuy2TrailingBytes || margin < 0) return;
  // A trailing half macropixel (rowSize not a multiple of 4) is no position.
  const int macropixels = rowSize / kBytesPerMacropixel;
  const int groupBytes = kYuy2GroupMacropixels * kBytesPerMacropixel;
  const int groups = (rowSize - kYuy2TrailingBytes - kYuy2FirstMacropixel * kBytesPerMacropixel +
                      groupBytes - 1) / groupBytes;
  const int end = kYuy2FirstMacropixel + kYuy2GroupMacropixels * groups;
  const uint8x16_t threshold = ThresholdBytes(thresholdY);
  int m = kYuy2FirstMacropixel;
  for (; m + kBlockPositions <= end; m += kBlockPositions) {
    const uint8x16_t flags = MacropixelFlags(srcRow + kBytesPerMacropixel * m, threshold);
    if (vmaxvq_u8(flags) != 0) {
      MarkFlagged(mask, macropixels, kBytesPerMacropixel, m, flags, margin);
    }
  }
  for (; m < end; m += kYuy2GroupMacropixels) {
    MarkGroupFlags(mask, macropixels, kBytesPerMacropixel, m,
                   EdgeFlagsYUY2Group(srcRow + kBytesPerMacropixel * m, thresholdY), margin);
  }
}

}  // namespace velmire::neon
