// Block searches with NEON: the differences of a batch of entries (eight entries of 8-bit
// samples, four of deeper ones) summed together by pairwise additions; the batch's smallest sum,
// when below the running best, names the entry. Batches are taken in table order and a later
// one replaces the best only when strictly smaller, so the earliest of equal entries wins, as
// in the portable search. Then the chroma of the block is blended in one vector.
#include <arm_neon.h>

#include <cstring>
#include <type_traits>

#include "neon/neon_kernels.h"
#include "planar/stronger_block_planar.h"
#include "yuy2/stronger_block_yuy2.h"

namespace velmire::neon {
namespace {

constexpr int kNoneAccepted = -1;

// Sums of a batch, by depth. An entry's eight differences come as eight 16-bit lanes; SumEach
// gives lane j the sum of entry j's.
struct ByteSums {  // differences of at most 255: eight of them fit 16 bits
  using Sums = uint16x8_t;
  using Sum = uint16_t;
  static constexpr int kBatch = 8;
  static Sums SumEach(const uint16x8_t (&d)[kBatch]) {
    const uint16x8_t quads01 = vpaddq_u16(vpaddq_u16(d[0], d[1]), vpaddq_u16(d[2], d[3]));
    const uint16x8_t quads45 = vpaddq_u16(vpaddq_u16(d[4], d[5]), vpaddq_u16(d[6], d[7]));
    return vpaddq_u16(quads01, quads45);
  }
  static Sums Load(const Sum* lanes) { return vld1q_u16(lanes); }
  static Sums Or(Sums a, Sums b) { return vorrq_u16(a, b); }
  static Sum Smallest(Sums sums) { return vminvq_u16(sums); }
  static int FirstLaneOf(Sums sums, Sum value) {
    static constexpr uint16_t kLanes[kBatch] = {0, 1, 2, 3, 4, 5, 6, 7};
    return vminvq_u16(vbslq_u16(vceqq_u16(sums, vdupq_n_u16(value)), vld1q_u16(kLanes),
                                vdupq_n_u16(kBatch)));
  }
};

struct WordSums {  // differences of up to 65535: sums of 32 bits
  using Sums = uint32x4_t;
  using Sum = uint32_t;
  static constexpr int kBatch = 4;
  static Sums SumEach(const uint16x8_t (&d)[kBatch]) {
    const uint32x4_t halves01 = vpaddq_u32(vpaddlq_u16(d[0]), vpaddlq_u16(d[1]));
    const uint32x4_t halves23 = vpaddq_u32(vpaddlq_u16(d[2]), vpaddlq_u16(d[3]));
    return vpaddq_u32(halves01, halves23);
  }
  static Sums Load(const Sum* lanes) { return vld1q_u32(lanes); }
  static Sums Or(Sums a, Sums b) { return vorrq_u32(a, b); }
  static Sum Smallest(Sums sums) { return vminvq_u32(sums); }
  static int FirstLaneOf(Sums sums, Sum value) {
    static constexpr uint32_t kLanes[kBatch] = {0, 1, 2, 3};
    return static_cast<int>(vminvq_u32(vbslq_u32(vceqq_u32(sums, vdupq_n_u32(value)),
                                                 vld1q_u32(kLanes), vdupq_n_u32(kBatch))));
  }
};

// Index of the entry whose sum is smallest and below `noise`, the earliest among equals, or
// kNoneAccepted. present(i): whether entry i may be read; differences(i): its eight
// differences. An entry left out gets a sum above any real one.
template <typename Depth, typename Present, typename Differences>
int SmallestEntry(int count, int noise, Present present, Differences differences) {
  using Sum = typename Depth::Sum;
  constexpr Sum kLeftOut = static_cast<Sum>(~Sum{0});
  long long best = noise;
  int winner = kNoneAccepted;
  for (int first = 0; first < count; first += Depth::kBatch) {
    uint16x8_t d[Depth::kBatch];
    Sum leftOut[Depth::kBatch];
    for (int j = 0; j < Depth::kBatch; ++j) {
      const bool compared = first + j < count && present(first + j);
      d[j] = compared ? differences(first + j) : vdupq_n_u16(0);
      leftOut[j] = compared ? 0 : kLeftOut;
    }
    const typename Depth::Sums sums = Depth::Or(Depth::SumEach(d), Depth::Load(leftOut));
    const Sum smallest = Depth::Smallest(sums);
    if (smallest != kLeftOut && smallest < best) {
      best = smallest;
      winner = first + Depth::FirstLaneOf(sums, smallest);
    }
  }
  return winner;
}

// Four samples from `a` then four from `b`.
template <typename Sample>
struct EightSamples {
  Sample samples[8];
  EightSamples() = default;
  EightSamples(const Sample* a, const Sample* b) {
    std::memcpy(samples, a, 4 * sizeof(Sample));
    std::memcpy(samples + 4, b, 4 * sizeof(Sample));
  }
  void StoreHalves(Sample* a, Sample* b) const {
    std::memcpy(a, samples, 4 * sizeof(Sample));
    std::memcpy(b, samples + 4, 4 * sizeof(Sample));
  }
};

// The planar arithmetic by depth: an entry's differences, and the blend of U and V columns
// x .. x+3 (where the mask entry is set, the truncated average of frame n's sample and the
// selected source's; elsewhere frame n's), both planes in one vector.
template <typename Sample>
struct PlanarDepth;

template <>
struct PlanarDepth<uint8_t> {
  using Sums = ByteSums;
  static uint16x8_t Differences(const uint8_t* block, const uint8_t* reference) {
    return vabdl_u8(vld1_u8(block), vld1_u8(reference));
  }
  static EightSamples<uint8_t> Blend(const EightSamples<uint8_t>& source,
                                     const EightSamples<uint8_t>& selected,
                                     const uint8_t* maskEntries) {
    const EightSamples<uint8_t> entries(maskEntries, maskEntries);
    const uint8x8_t now = vld1_u8(source.samples);
    const uint8x8_t marked = vtst_u8(vld1_u8(entries.samples), vld1_u8(entries.samples));
    EightSamples<uint8_t> out;
    vst1_u8(out.samples, vbsl_u8(marked, vhadd_u8(now, vld1_u8(selected.samples)), now));
    return out;
  }
};

template <>
struct PlanarDepth<uint16_t> {
  using Sums = WordSums;
  static uint16x8_t Differences(const uint16_t* block, const uint16_t* reference) {
    return vabdq_u16(vld1q_u16(block), vld1q_u16(reference));
  }
  static EightSamples<uint16_t> Blend(const EightSamples<uint16_t>& source,
                                      const EightSamples<uint16_t>& selected,
                                      const uint8_t* maskEntries) {
    const EightSamples<uint8_t> entries(maskEntries, maskEntries);
    const uint16x8_t wide = vmovl_u8(vld1_u8(entries.samples));
    const uint16x8_t now = vld1q_u16(source.samples);
    EightSamples<uint16_t> out;
    vst1q_u16(out.samples, vbslq_u16(vtstq_u16(wide, wide),
                                     vhaddq_u16(now, vld1q_u16(selected.samples)), now));
    return out;
  }
};

template <typename Sample>
void CorrectBlockPlanarOf(const RowJobPlanarOf<Sample>& job, int x, const uint8_t* mask) {
  using Depth = PlanarDepth<Sample>;
  const auto& entries = job.candidates;
  const int winner = SmallestEntry<typename Depth::Sums>(
      job.count, job.noise,
      // An entry whose chroma reaches past the row's last column is left out.
      [&](int i) { return x + entries[i].chromaOffset + 4 <= job.chromaWidth; },
      [&](int i) {
        return Depth::Differences(entries[i].luma + 2 * x + entries[i].lumaOffset,
                                  entries[i].reference + 2 * x);
      });
  const Sample* selectedU = job.sourceU + x;
  const Sample* selectedV = job.sourceV + x;
  if (winner != kNoneAccepted) {
    selectedU = entries[winner].u + x + entries[winner].chromaOffset;
    selectedV = entries[winner].v + x + entries[winner].chromaOffset;
  }
  Depth::Blend(EightSamples<Sample>(job.sourceU + x, job.sourceV + x),
               EightSamples<Sample>(selectedU, selectedV), mask + x)
      .StoreHalves(job.outputU + x, job.outputV + x);
}

// A row kernel around the block kernel kBlock: each marked block of the row searched and
// blended, then, in the stronger mode, blended with its partners by the portable blend.
template <auto kBlock, typename Job>
void CorrectMarkedBlocks(const Job& job, const uint8_t* mask) {
  auto visit = [&](int x) {
    kBlock(job, x, mask);
    if (job.partners == nullptr) return;
    if constexpr (std::is_same_v<Job, RowJobYUY2>) {
      BlendBlockWithPartnersYUY2(job, x, mask);
    } else {
      BlendBlockWithPartnersPlanar(job, x, mask);
    }
  };
  if constexpr (std::is_same_v<Job, RowJobYUY2>) {
    ForEachMarkedBlockYUY2(job, mask, visit);
  } else {
    ForEachMarkedBlockPlanar(job, mask, visit);
  }
}

}  // namespace

void CorrectBlockPlanarNeon(const RowJobPlanar& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarOf(job, x, mask);
}

void CorrectBlockPlanar16Neon(const RowJobPlanar16& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarOf(job, x, mask);
}

void CorrectRowPlanarNeon(const RowJobPlanar& job, const uint8_t* mask) {
  CorrectMarkedBlocks<CorrectBlockPlanarNeon>(job, mask);
}

void CorrectRowPlanar16Neon(const RowJobPlanar16& job, const uint8_t* mask) {
  CorrectMarkedBlocks<CorrectBlockPlanar16Neon>(job, mask);
}

void CorrectBlockYUY2Neon(const RowJobYUY2& job, int x, const uint8_t* mask) {
  const uint8_t* reference = job.reference + x;
  const uint8x16_t referenceBlock = vld1q_u8(reference);
  const uint16x8_t lumaBytes = vdupq_n_u16(0x00FF);  // the even bytes: Y0 and Y1
  const int winner = SmallestEntry<ByteSums>(
      kYuy2CandidateCount, job.noise,
      // A candidate reaching past the row's last byte is left out.
      [&](int i) { return x + 2 * job.candidates[i].shift + 16 <= job.rowSize; },
      [&](int i) {
        const RowCandidateYUY2& c = job.candidates[i];
        const uint8x16_t block = vld1q_u8(c.row + x + 2 * c.shift);
        return vandq_u16(vreinterpretq_u16_u8(vabdq_u8(block, referenceBlock)), lumaBytes);
      });
  const uint8_t* best = winner == kNoneAccepted
                            ? reference
                            : job.candidates[winner].row + x + 2 * job.candidates[winner].shift;
  // Luma is copied; U (byte m+1) and V (byte m+3) of a macropixel are averaged where the mask
  // entry one byte before them (x+m, x+m+2) is set.
  const uint8x16_t entries = vld1q_u8(mask + x);
  const uint8x16_t entryBefore = vextq_u8(vdupq_n_u8(0), entries, 15);
  const uint8x16_t chromaBytes = vreinterpretq_u8_u16(vdupq_n_u16(0xFF00));
  const uint8x16_t averaged = vandq_u8(vtstq_u8(entryBefore, entryBefore), chromaBytes);
  vst1q_u8(job.output + x, vbslq_u8(averaged, vhaddq_u8(referenceBlock, vld1q_u8(best)),
                                    referenceBlock));
}

void CorrectRowYUY2Neon(const RowJobYUY2& job, const uint8_t* mask) {
  CorrectMarkedBlocks<CorrectBlockYUY2Neon>(job, mask);
}

}  // namespace velmire::neon
