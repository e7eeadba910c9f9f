// The still blend's kernels of every vector set against the portable ones, byte for byte: the
// low-pass's chunk sums (8-bit planar and YUY2 rows, 10- and 16-bit rows) stored and added, the
// blend of runs (planar and packed) and the vote on the partners, on rows of every length
// remainder in buffers of exactly their size, with random, extreme and nearly equal samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/kernel_table.h"
#include "vector_sets.h"

namespace velmire::test {
namespace {

const std::vector<int> kLengths{2, 4, 6, 8, 10, 14, 16, 18, 20, 28, 30, 32, 34, 36, 44, 46,
                                62, 64, 66, 98, 720, 1438};

// Samples of `bits` bits: 0 random, 1 only 0 and the largest, 2 random steps of at most 2.
template <typename Sample>
std::vector<Sample> Samples(size_t count, int bits, int kind, RandomBytes& r) {
  const int max = (1 << bits) - 1;
  std::vector<Sample> samples(count);
  int walk = r.Between(0, max);
  for (Sample& s : samples) {
    walk = std::min(max, std::max(0, walk + r.Between(-2, 2)));
    const int value = kind == 0 ? r.Between(0, max) : kind == 1 ? max * r.Between(0, 1) : walk;
    s = static_cast<Sample>(value);
  }
  return samples;
}

// The low-pass of one row (rows 1: now and then), or of two, the second row the first reversed.
template <typename Sample>
std::vector<int32_t> Chunks(LowpassedChunksFnOf<Sample> fn, const std::vector<Sample>& now,
                            const std::vector<Sample>& then, int rows, int n, int stride,
                            int shift) {
  std::vector<StillWork<Sample>> d(static_cast<size_t>(n + 9 + kStillWorkSlack));
  std::vector<StillWork<Sample>> t(d.size());
  std::vector<int32_t> chunks(static_cast<size_t>(n / 8 + 3), 1000);
  const std::vector<Sample> now2(now.rbegin(), now.rend()), then2(then.rbegin(), then.rend());
  const Sample* const nowRows[2] = {now.data(), now2.data()};
  const Sample* const thenRows[2] = {then.data(), then2.data()};
  fn(nowRows, thenRows, rows, n, stride, shift, d.data(), t.data(), chunks.data());
  return chunks;
}

template <typename Sample>
void CheckLowpass(StillKernelsOf<Sample> fns, StillKernelsOf<Sample> portable,
                  const KernelSet& set, int bits, int stride) {
  RandomBytes r(static_cast<uint32_t>(bits * 10 + stride));
  for (int n : kLengths) {
    for (int kind = 0; kind < 3; ++kind) {
      const auto now = Samples<Sample>(static_cast<size_t>(n * stride), bits, kind, r);
      const auto then = kind == 2 ? now : Samples<Sample>(now.size(), bits, kind, r);
      // Samples of `bits` in a clip of clipBits: those above its largest value are clamped.
      for (int clipBits : {bits, std::max(8, bits - 6)}) {
        for (int rows : {1, 2}) {
          EXPECT_EQ(Chunks(fns.lowpassedChunks, now, then, rows, n, stride, clipBits - 8),
                    Chunks(portable.lowpassedChunks, now, then, rows, n, stride, clipBits - 8))
              << set.name << " low-pass, " << bits << "-bit samples, " << clipBits
              << "-bit clip, stride " << stride << ", " << n << " samples, kind " << kind
              << ", rows " << rows;
        }
      }
    }
  }
}

// Planar runs, or 8-bit packed ones: samples every 4 bytes of a row of 4 count bytes.
template <typename Sample>
std::vector<Sample> Blended(BlendStillRunFnOf<Sample> fn, const std::vector<Sample> (&in)[3],
                            int stride, bool alike, int bits, int maxValue) {
  std::vector<Sample> out(in[0].size());
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<Sample>(i * 7);
  fn(in[0].data(), in[1].data(), in[2].data(), out.data(), static_cast<int>(out.size()) / stride,
     alike, bits - 8, maxValue);
  return out;
}

template <typename Sample>
void CheckBlend(StillKernelsOf<Sample> fns, StillKernelsOf<Sample> portable, const KernelSet& set,
                int bits, int containerBits, bool packed = false) {
  RandomBytes r(static_cast<uint32_t>(bits));
  const int maxValue = (1 << bits) - 1;
  const int stride = packed ? 4 : 1;
  for (int count : {0, 1, 3, 4, 7, 8, 9, 15, 16, 17, 31, 33, 100}) {
    for (int kind = 0; kind < 2; ++kind) {
      // Samples above maxValue (a 10-bit clip's container holding more) are clamped.
      const int sampleBits = kind == 0 ? bits : containerBits;
      const size_t size = static_cast<size_t>(count * stride);
      const std::vector<Sample> in[3] = {Samples<Sample>(size, sampleBits, kind, r),
                                         Samples<Sample>(size, sampleBits, kind, r),
                                         Samples<Sample>(size, sampleBits, kind, r)};
      for (bool alike : {false, true}) {
        EXPECT_EQ(Blended(packed ? fns.blendRunPacked : fns.blendRun, in, stride, alike, bits,
                          maxValue),
                  Blended(packed ? portable.blendRunPacked : portable.blendRun, in, stride, alike,
                          bits, maxValue))
            << set.name << " blend, " << bits << "-bit, packed " << packed << ", " << count
            << " samples, kind " << kind << ", alike " << alike;
      }
    }
  }
}

// Five-frame runs, planar or 8-bit interleaved (samples every 2 elements, the one after the
// last in the row too).
template <typename Sample>
void CheckBlendFive(StillKernelsOf<Sample> fns, StillKernelsOf<Sample> portable,
                    const KernelSet& set, int bits, int containerBits, bool interleaved = false) {
  RandomBytes r(static_cast<uint32_t>(bits + 200));
  const int maxValue = (1 << bits) - 1;
  const int stride = interleaved ? 2 : 1;
  auto run = [&](const StillKernelsOf<Sample>& kernels, const std::vector<Sample> (&in)[5],
                 int count) {
    std::vector<Sample> out(in[0].size());
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<Sample>(i * 7);
    const Sample* const rows[5] = {in[0].data(), in[1].data(), in[2].data(), in[3].data(),
                                   in[4].data()};
    (interleaved ? kernels.blendFiveInterleaved : kernels.blendFive)(rows, out.data(), count,
                                                                      bits - 8, maxValue);
    return out;
  };
  for (int count : {0, 1, 7, 8, 9, 15, 16, 17, 31, 33, 100}) {
    for (int kind = 0; kind < 2; ++kind) {
      const int sampleBits = kind == 0 ? bits : containerBits;  // above maxValue: clamped
      std::vector<Sample> in[5];
      for (auto& frame : in) {
        frame = Samples<Sample>(static_cast<size_t>(count * stride + 1), sampleBits, kind, r);
      }
      EXPECT_EQ(run(fns, in, count), run(portable, in, count))
          << set.name << " five-frame blend, " << bits << "-bit, interleaved " << interleaved
          << ", " << count << " samples, kind " << kind;
    }
  }
}

// The vote over a row of cw chroma samples whose blocks are still at random: planar rows, or
// packed YUY2 rows of 4 cw bytes (Y U Y V) whose frame n holds the luma.
template <typename Sample>
void CheckVote(StillKernelsOf<Sample> fns, StillKernelsOf<Sample> portable, const KernelSet& set,
               int bits, bool packed = false) {
  RandomBytes r(static_cast<uint32_t>(bits + 100));
  for (int cw : {9, 12, 13, 16, 17, 22, 40, 41, 360}) {
    for (int kind = 0; kind < 3; ++kind) {
      std::vector<Sample> planes[7];  // luma, then U and V of frames n-1, n, n+1
      planes[0] = Samples<Sample>(static_cast<size_t>(2 * cw), bits, kind, r);
      for (int p = 1; p < 7; ++p) {
        planes[p] = Samples<Sample>(static_cast<size_t>(cw), bits, kind, r);
      }
      const Sample* u[3] = {planes[1].data(), planes[2].data(), planes[3].data()};
      const Sample* v[3] = {planes[4].data(), planes[5].data(), planes[6].data()};
      const Sample* luma = planes[0].data();
      std::vector<Sample> rows[3];
      if (packed) {
        for (int f = 0; f < 3; ++f) {
          rows[f] = Samples<Sample>(static_cast<size_t>(4 * cw), bits, kind, r);
          for (int x = 0; x < cw; ++x) {
            rows[f][static_cast<size_t>(4 * x + 1)] = u[f][x];
            rows[f][static_cast<size_t>(4 * x + 3)] = v[f][x];
          }
          u[f] = rows[f].data() + 1;
          v[f] = rows[f].data() + 3;
        }
        luma = rows[1].data();
      }
      const int lumaStride = packed ? 2 : 1, chromaStride = packed ? 4 : 1;
      std::vector<uint8_t> state(static_cast<size_t>(cw / 4 + 1));
      for (uint8_t& s : state) s = static_cast<uint8_t>(r.Chance(70) ? 3 : r.Between(0, 2));
      for (int detail : {-5, 0, 1, 4 << (bits - 8), 30 << (bits - 8), 255 << (bits - 8), 1 << 20}) {
        int64_t sums[2][2] = {{5, 7}, {5, 7}};
        const StillVoteFnOf<Sample> votes[2] = {fns.vote, portable.vote};
        for (int i = 0; i < 2; ++i) {
          votes[i](luma, lumaStride, u, v, chromaStride, state.data(), 3, cw - 4, detail,
                   &sums[i][0], &sums[i][1]);
        }
        EXPECT_TRUE(sums[0][0] == sums[1][0] && sums[0][1] == sums[1][1])
            << set.name << " vote, " << bits << "-bit, packed " << packed << ", width " << cw
            << ", kind " << kind << ", detail " << detail << ": " << sums[0][0] << "/"
            << sums[0][1] << ", portable " << sums[1][0] << "/" << sums[1][1];
      }
    }
  }
}

TEST(StillBlendChecker, EveryVectorSetGivesThePortableChunksBlendsAndVotes) {
  const KernelSet& portable = PortableKernels();
  for (const KernelSet* set : VectorKernelSets()) {
    CheckLowpass<uint8_t>(set->still, portable.still, *set, 8, 1);
    CheckLowpass<uint8_t>(set->still, portable.still, *set, 8, 2);
    CheckLowpass<uint16_t>(set->still16, portable.still16, *set, 9, 1);
    CheckLowpass<uint16_t>(set->still16, portable.still16, *set, 10, 1);
    CheckLowpass<uint16_t>(set->still16, portable.still16, *set, 16, 1);
    CheckBlend<uint8_t>(set->still, portable.still, *set, 8, 8);
    CheckBlend<uint8_t>(set->still, portable.still, *set, 8, 8, /*packed=*/true);
    for (int bits : {10, 13, 14, 16}) {
      CheckBlend<uint16_t>(set->still16, portable.still16, *set, bits, 16);
    }
    CheckBlendFive<uint8_t>(set->still, portable.still, *set, 8, 8);
    CheckBlendFive<uint8_t>(set->still, portable.still, *set, 8, 8, /*interleaved=*/true);
    for (int bits : {10, 13, 14, 16}) {
      CheckBlendFive<uint16_t>(set->still16, portable.still16, *set, bits, 16);
    }
    CheckVote<uint8_t>(set->still, portable.still, *set, 8);
    CheckVote<uint8_t>(set->still, portable.still, *set, 8, /*packed=*/true);
    CheckVote<uint16_t>(set->still16, portable.still16, *set, 10);
    CheckVote<uint16_t>(set->still16, portable.still16, *set, 16);
  }
}

}  // namespace
}  // namespace velmire::test
