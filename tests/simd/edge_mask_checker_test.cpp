// The mask routines of every vector kernel set (YUY2, planar, planar of 16-bit samples) against
// the portable ones, byte for byte, on rows of every width remainder held in buffers of exactly
// the row's size (so that a read or write past either end trips AddressSanitizer), with masks
// arriving cleared or already set.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "luma_patterns.h"
#include "core/kernel_table.h"
#include "vector_sets.h"

namespace velmire::test {
namespace {

enum class Layout { kYUY2, kPlanar };

const std::vector<int> kThresholds{0, 1, 2, 30, 127, 253, 254, 255, -5, 300};
// Margins outside 0 .. 4 never come from the settings, but the routines still accept them
// (17 reaches past a whole block of the widest vector masks).
const std::vector<int> kMargins{0, 1, 2, 3, 4, -1, 5, 17};

struct MaskRow {
  std::vector<uint8_t> bytes;  // YUY2: the whole row; planar: the luma row
  int maskSize;                // YUY2: row bytes; planar: chroma columns
};

// A row of `maskSize` mask entries whose luma follows `luma`; YUY2 chroma bytes are random.
MaskRow MakeRow(Layout layout, int maskSize, const std::vector<uint8_t>& luma, RandomBytes& r) {
  if (layout == Layout::kPlanar) return MaskRow{luma, maskSize};
  std::vector<uint8_t> bytes(static_cast<size_t>(maskSize));
  for (int b = 0; b < maskSize; ++b) {
    bytes[static_cast<size_t>(b)] = b % 2 == 0 ? luma[static_cast<size_t>(b / 2)] : r.Byte();
  }
  return MaskRow{bytes, maskSize};
}

int LumaSamples(Layout layout, int maskSize) {
  return layout == Layout::kYUY2 ? (maskSize + 1) / 2 : 2 * maskSize;
}

// A mask as the routine may receive it: cleared, with whole positions set, or any bytes.
std::vector<uint8_t> InitialMask(Layout layout, int maskSize, int kind, RandomBytes& r) {
  std::vector<uint8_t> mask(static_cast<size_t>(maskSize), 0x00);
  const int step = layout == Layout::kYUY2 ? 4 : 1;
  for (int p = 0; p < maskSize; p += step) {
    const uint8_t value = kind == 0 ? 0x00 : (kind == 1 ? (r.Chance(10) ? 0xFF : 0x00) : r.Byte());
    for (int b = p; b < p + step && b < maskSize; ++b) mask[static_cast<size_t>(b)] = value;
  }
  return mask;
}

::testing::AssertionResult SameMask(const KernelSet& set, Layout layout, const MaskRow& row,
                                    const std::vector<uint8_t>& initial, int threshold,
                                    int margin) {
  // Fresh, exactly sized copies for each routine.
  const std::vector<uint8_t> bytes(row.bytes);
  std::vector<uint8_t> expected(initial);
  std::vector<uint8_t> actual(initial);
  const bool yuy2 = layout == Layout::kYUY2;
  const EdgeMaskYUY2Fn yuy2Fns[] = {PortableKernels().edgeMaskYUY2, set.edgeMaskYUY2};
  const EdgeMaskPlanarFn planarFns[] = {PortableKernels().edgeMaskPlanar, set.edgeMaskPlanar};
  std::vector<uint8_t>* masks[] = {&expected, &actual};
  for (int i = 0; i < 2; ++i) {
    if (yuy2) {
      yuy2Fns[i](bytes.data(), masks[i]->data(), row.maskSize, threshold, margin);
    } else {
      planarFns[i](bytes.data(), masks[i]->data(), row.maskSize, threshold, margin);
    }
  }
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure()
         << set.name << (yuy2 ? " YUY2" : " planar") << " mask of " << row.maskSize
         << " entries, threshold " << threshold << ", margin " << margin << ": entry " << at
         << " is " << int{actual[at]} << ", portable gives " << int{expected[at]};
}

std::vector<int> MaskSizes(Layout layout) {
  std::vector<int> sizes;
  const int largest = layout == Layout::kYUY2 ? 200 : 110;
  for (int s = 0; s <= largest; ++s) sizes.push_back(s);
  const std::vector<int> frameSizes =
      layout == Layout::kYUY2 ? std::vector<int>{1436, 1438, 1440, 1442, 1444, 1446, 3840}
                              : std::vector<int>{357, 358, 359, 360, 361, 362, 363, 960};
  sizes.insert(sizes.end(), frameSizes.begin(), frameSizes.end());
  return sizes;
}

TEST(EdgeMaskChecker, MatchesPortableAtEveryWidthMarginAndPattern) {
  RandomBytes random(7);
  int turn = 0;
  for (const KernelSet* set : VectorKernelSets()) {
    for (Layout layout : {Layout::kYUY2, Layout::kPlanar}) {
      for (int maskSize : MaskSizes(layout)) {
        for (const LumaPattern& pattern : LumaPatterns()) {
          const std::vector<uint8_t> luma = pattern.make(random, LumaSamples(layout, maskSize));
          const MaskRow row = MakeRow(layout, maskSize, luma, random);
          for (int margin : kMargins) {
            // Thresholds and initial masks take turns, so every combination comes up often.
            ++turn;
            const int threshold = kThresholds[static_cast<size_t>(turn) % kThresholds.size()];
            const std::vector<uint8_t> initial = InitialMask(layout, maskSize, turn % 3, random);
            ASSERT_TRUE(SameMask(*set, layout, row, initial, threshold, margin))
                << "pattern " << pattern.name;
          }
        }
      }
    }
  }
}

// A steady ramp with threshold 0 flags every examined position, so widening reaches as far past
// the walk's end, and into the first positions, as it ever can.
TEST(EdgeMaskChecker, FullyFlaggedRowsWidenAlikeAtBothEnds) {
  RandomBytes random(11);
  for (const KernelSet* set : VectorKernelSets()) {
    for (Layout layout : {Layout::kYUY2, Layout::kPlanar}) {
      for (int maskSize : MaskSizes(layout)) {
        const MaskRow row =
            MakeRow(layout, maskSize, SteadyRamp(LumaSamples(layout, maskSize)), random);
        const std::vector<uint8_t> cleared(static_cast<size_t>(maskSize), 0x00);
        for (int margin = 0; margin <= 4; ++margin) {
          ASSERT_TRUE(SameMask(*set, layout, row, cleared, 0, margin));
        }
      }
    }
  }
}

TEST(EdgeMaskChecker, MatchesPortableOnRandomRows) {
  RandomBytes random(2024);
  for (const KernelSet* set : VectorKernelSets()) {
    for (int run = 0; run < 3000; ++run) {
      const Layout layout = random.Chance(50) ? Layout::kYUY2 : Layout::kPlanar;
      const int maskSize = random.Between(0, layout == Layout::kYUY2 ? 800 : 400);
      const LumaPattern& pattern = random.Pick(LumaPatterns());
      const MaskRow row =
          MakeRow(layout, maskSize, pattern.make(random, LumaSamples(layout, maskSize)), random);
      const int threshold = random.Chance(50) ? random.Between(0, 255) : random.Pick(kThresholds);
      const int margin = random.Between(0, 4);
      const std::vector<uint8_t> initial = InitialMask(layout, maskSize, run % 3, random);
      ASSERT_TRUE(SameMask(*set, layout, row, initial, threshold, margin))
          << "run " << run << ", pattern " << pattern.name;
    }
  }
}

// 16-bit rows are made from the byte patterns: 10-bit video, the full 16-bit range (255 becomes
// 0xFFFF), and small steps around 0x8000, where signed 16-bit arithmetic would go wrong.
struct DeepMapping {
  const char* name;
  uint16_t (*sample)(uint8_t byte);
};

const DeepMapping kDeepMappings[] = {
    {"10-bit", [](uint8_t b) { return static_cast<uint16_t>(b << 2); }},
    {"full range", [](uint8_t b) { return static_cast<uint16_t>(b * 257); }},
    {"around 0x8000", [](uint8_t b) { return static_cast<uint16_t>(0x8000 + (b - 128) * 3); }},
};

const std::vector<int> kDeepThresholds{0, 1, 2, 120, 0x7FFF, 0x8000, 65280, 65535, -5, 70000};

::testing::AssertionResult SameMask16(const KernelSet& set, const std::vector<uint16_t>& luma,
                                      int maskSize, const std::vector<uint8_t>& initial,
                                      int threshold, int margin) {
  std::vector<uint8_t> expected(initial);
  std::vector<uint8_t> actual(initial);
  BuildEdgeMaskPlanar16Portable(luma.data(), expected.data(), maskSize, threshold, margin);
  set.edgeMaskPlanar16(luma.data(), actual.data(), maskSize, threshold, margin);
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure()
         << set.name << " 16-bit planar mask of " << maskSize << " entries, threshold "
         << threshold << ", margin " << margin << ": entry " << at << " is " << int{actual[at]}
         << ", portable gives " << int{expected[at]};
}

TEST(EdgeMaskChecker, DeepSamplesMatchPortableAtEveryWidthMarginAndPattern) {
  RandomBytes random(16);
  int turn = 0;
  for (const KernelSet* set : VectorKernelSets()) {
    for (int maskSize : MaskSizes(Layout::kPlanar)) {
      std::vector<std::vector<uint16_t>> rows;
      for (const DeepMapping& mapping : kDeepMappings) {
        for (const LumaPattern& pattern : LumaPatterns()) {
          const std::vector<uint8_t> bytes = pattern.make(random, 2 * maskSize);
          rows.emplace_back(bytes.size());
          for (size_t i = 0; i < bytes.size(); ++i) rows.back()[i] = mapping.sample(bytes[i]);
        }
      }
      rows.emplace_back(static_cast<size_t>(2 * maskSize), uint16_t{0xFFFF});
      rows.emplace_back(static_cast<size_t>(2 * maskSize));
      for (uint16_t& sample : rows.back()) {
        sample = static_cast<uint16_t>(random.Between(0, 0xFFFF));
      }
      for (const std::vector<uint16_t>& luma : rows) {
        for (int margin : kMargins) {
          ++turn;
          const int threshold =
              kDeepThresholds[static_cast<size_t>(turn) % kDeepThresholds.size()];
          const std::vector<uint8_t> initial =
              InitialMask(Layout::kPlanar, maskSize, turn % 3, random);
          ASSERT_TRUE(SameMask16(*set, luma, maskSize, initial, threshold, margin))
              << "row " << (&luma - rows.data());
        }
      }
    }
  }
}

}  // namespace
}  // namespace velmire::test
