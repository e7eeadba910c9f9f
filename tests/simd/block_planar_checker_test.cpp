// The planar block search and blend of every vector kernel set against the portable one, byte
// for byte, for 8-bit and 16-bit samples, on every block position of rows of every width
// remainder, with both candidate tables and with random ones. Every luma and chroma row is a
// buffer of exactly the row's size, so a read past a row's end trips AddressSanitizer.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "planar/candidate_tables_planar.h"
#include "core/kernel_table.h"
#include "search_luma.h"
#include "vector_sets.h"

namespace velmire::test {
namespace {

// Luma rows 2cy-2 .. 2cy+2 and chroma rows cy-1 .. cy+1 of frames n-1, n and n+1, and the
// chroma row's output and mask, of 8-bit or 16-bit samples.
template <typename Sample>
struct PlanarScene {
  using Row = std::vector<Sample>;
  int chromaWidth;
  std::array<std::array<Row, 5>, 3> luma;  // [frame + 1][luma row + 2]
  std::array<std::array<Row, 3>, 3> u;     // [frame + 1][chroma row + 1]
  std::array<std::array<Row, 3>, 3> v;
  Row outputU, outputV;
  std::vector<uint8_t> mask;

  const Sample* Luma(int frame, int row) const {
    return luma[Index(frame)][Index(row + 1)].data();
  }
  const Sample* U(int frame, int row) const { return u[Index(frame)][Index(row)].data(); }
  const Sample* V(int frame, int row) const { return v[Index(frame)][Index(row)].data(); }

 private:
  static size_t Index(int relative) { return static_cast<size_t>(relative + 1); }
};

// Samples from bytes: as they are, or for 16-bit samples times `deepScale` (by default spread
// over 16 bits: 255 becomes 0xFFFF, so differences reach 8 * 0xFFFF).
constexpr int kSpreadOver16Bits = 257;
uint8_t SampleOf(uint8_t byte, uint8_t, int) { return byte; }
uint16_t SampleOf(uint8_t byte, uint16_t, int deepScale) {
  return static_cast<uint16_t>(byte * deepScale);
}

template <typename Sample>
std::vector<Sample> Samples(const std::vector<uint8_t>& bytes, int deepScale) {
  std::vector<Sample> samples(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) samples[i] = SampleOf(bytes[i], Sample{}, deepScale);
  return samples;
}

template <typename Sample>
std::vector<Sample> RandomSamples(RandomBytes& r, size_t count) {
  std::vector<Sample> samples(count);
  for (Sample& s : samples) s = static_cast<Sample>(r.Between(0, Sample(~Sample{0})));
  return samples;
}

template <typename Sample>
PlanarScene<Sample> MakeScene(int chromaWidth, const SearchLuma& kind, RandomBytes& r,
                              int deepScale = kSpreadOver16Bits) {
  const size_t w = static_cast<size_t>(chromaWidth);
  PlanarScene<Sample> scene{chromaWidth, {}, {}, {}, RandomSamples<Sample>(r, w),
                            RandomSamples<Sample>(r, w), {}};
  for (auto& frame : scene.luma)
    for (auto& row : frame) row = Samples<Sample>(kind.row(r, 2 * chromaWidth), deepScale);
  for (auto* plane : {&scene.u, &scene.v})
    for (auto& frame : *plane)
      for (auto& row : frame) row = RandomSamples<Sample>(r, w);
  // Entries of 0x00 and 0xFF as the mask routine leaves them, or any byte values.
  const bool anyBytes = r.Chance(25);
  scene.mask.resize(w);
  for (uint8_t& entry : scene.mask) entry = anyBytes ? r.Byte() : (r.Chance(60) ? 0xFF : 0x00);
  return scene;
}

template <typename Sample>
RowJobPlanarOf<Sample> MakeJob(const PlanarScene<Sample>& scene,
                               std::span<const CandidateEntryPlanar> table, Sample* outputU,
                               Sample* outputV, int noise) {
  RowJobPlanarOf<Sample> job{};
  for (const CandidateEntryPlanar& e : table) {
    job.candidates.at(static_cast<size_t>(job.count++)) = RowCandidatePlanarOf<Sample>{
        scene.Luma(e.frame, e.lumaRow), scene.Luma(0, e.referenceRow),
        scene.U(e.frame, e.chromaRow), scene.V(e.frame, e.chromaRow), e.lumaOffset,
        e.chromaOffset};
  }
  // As the pass marks it, so that lists with one reference row take the shared-reference path.
  job.sharedReference = true;
  for (int i = 1; i < job.count; ++i) {
    job.sharedReference &= job.candidates[size_t(i)].reference == job.candidates[0].reference;
  }
  job.sourceU = scene.U(0, 0);
  job.sourceV = scene.V(0, 0);
  job.outputU = outputU;
  job.outputV = outputV;
  job.chromaWidth = scene.chromaWidth;
  job.noise = noise;
  return job;
}

// Entries of any frame and rows in any order, with any even luma offset and e = d / 2.
std::vector<CandidateEntryPlanar> RandomTable(RandomBytes& r) {
  std::vector<CandidateEntryPlanar> table(static_cast<size_t>(r.Between(0, kPlanarMaxCandidates)));
  for (CandidateEntryPlanar& e : table) {
    const int chromaOffset = r.Between(-3, 3);
    e = CandidateEntryPlanar{
        static_cast<int8_t>(r.Between(-1, 1)), static_cast<int8_t>(r.Between(-2, 2)),
        static_cast<int8_t>(2 * chromaOffset), static_cast<int8_t>(r.Between(-2, 2)),
        static_cast<int8_t>(r.Between(-1, 1)), static_cast<int8_t>(chromaOffset)};
  }
  return table;
}

// The kernel under test for a sample type.
CorrectBlockPlanarFnOf<uint8_t> BlockKernel(const KernelSet& set, uint8_t) {
  return set.correctBlockPlanar;
}
CorrectBlockPlanarFnOf<uint16_t> BlockKernel(const KernelSet& set, uint16_t) {
  return set.correctBlockPlanar16;
}

template <typename Sample>
::testing::AssertionResult SameBlock(const KernelSet& set, const PlanarScene<Sample>& scene,
                                     std::span<const CandidateEntryPlanar> table, int x, int noise) {
  std::vector<Sample> expectedU(scene.outputU), expectedV(scene.outputV);
  std::vector<Sample> actualU(scene.outputU), actualV(scene.outputV);
  const auto portable = MakeJob(scene, table, expectedU.data(), expectedV.data(), noise);
  const auto vector = MakeJob(scene, table, actualU.data(), actualV.data(), noise);
  BlockKernel(PortableKernels(), Sample{})(portable, x, scene.mask.data());
  BlockKernel(set, Sample{})(vector, x, scene.mask.data());
  if (actualU == expectedU && actualV == expectedV) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << set.name << ": " << 8 * sizeof(Sample) << "-bit chroma row of " << scene.chromaWidth
         << " samples, block " << x << ", " << table.size() << " entries, Noise " << noise
         << ": " << (actualU == expectedU ? "V" : "U") << " differs from the portable result";
}

std::vector<int> ChromaWidths() {
  std::vector<int> widths;
  for (int w = 8; w <= 56; ++w) widths.push_back(w);
  for (int w : {357, 358, 359, 360, 361, 362, 363, 960}) widths.push_back(w);
  return widths;
}

// Noise values of 16-bit samples: 0, Noise 255 scaled to 10 and to 16 bits, and the ends of
// the range of differences (8 * 0xFFFF).
const std::vector<int>& NoisesFor(uint16_t) {
  static const std::vector<int> values{0, 1, 2, 240, 1020, 65280, 65535, 65536, 524280, 524281, -1};
  return values;
}
const std::vector<int>& NoisesFor(uint8_t) { return NoiseValues(); }

template <typename Sample>
void CheckEveryBlockOfEveryRowWidth(uint32_t seed) {
  RandomBytes random(seed);
  std::vector<std::vector<CandidateEntryPlanar>> tables{
      {CandidateTablePlanarA.begin(), CandidateTablePlanarA.end()},
      {CandidateTablePlanarB.begin(), CandidateTablePlanarB.end()}};
  for (int t = 0; t < 3; ++t) tables.push_back(RandomTable(random));
  const std::vector<int>& noises = NoisesFor(Sample{});
  int turn = 0;
  for (const KernelSet* set : VectorKernelSets()) {
    for (int width : ChromaWidths()) {
      for (const SearchLuma& luma : SearchLumaKinds()) {
        const PlanarScene<Sample> scene = MakeScene<Sample>(width, luma, random);
        for (size_t t = 0; t < tables.size(); ++t) {
          // Every block position the contract allows, the last one flush with the row's end.
          for (int x = 4; x + 4 <= width; x += 4) {
            const int noise = noises[static_cast<size_t>(++turn) % noises.size()];
            ASSERT_TRUE(SameBlock(*set, scene, tables[t], x, noise))
                << "luma " << luma.name << ", table " << t;
          }
        }
      }
    }
  }
}

template <typename Sample>
void CheckRandomScenes(uint32_t seed) {
  RandomBytes random(seed);
  const std::vector<int>& noises = NoisesFor(Sample{});
  const int largestNoise = sizeof(Sample) == 1 ? 255 : 65280;
  for (const KernelSet* set : VectorKernelSets()) {
    for (int run = 0; run < 2000; ++run) {
      const int width = random.Between(8, 200);
      const SearchLuma& luma = random.Pick(SearchLumaKinds());
      const PlanarScene<Sample> scene = MakeScene<Sample>(width, luma, random);
      const int pick = random.Between(0, 2);
      const std::vector<CandidateEntryPlanar> table =
          pick == 0   ? std::vector<CandidateEntryPlanar>(CandidateTablePlanarA.begin(),
                                                    CandidateTablePlanarA.end())
          : pick == 1 ? std::vector<CandidateEntryPlanar>(CandidateTablePlanarB.begin(),
                                                      CandidateTablePlanarB.end())
                      : RandomTable(random);
      const int x = 4 * random.Between(1, width / 4 - 1);
      const int noise =
          random.Chance(50) ? random.Between(0, largestNoise) : random.Pick(noises);
      ASSERT_TRUE(SameBlock(*set, scene, table, x, noise))
          << "run " << run << ", luma " << luma.name;
    }
  }
}

TEST(PlanarBlockChecker, MatchesPortableOnEveryBlockOfEveryRowWidth) {
  CheckEveryBlockOfEveryRowWidth<uint8_t>(3);
}

TEST(PlanarBlockChecker, DeepSamplesMatchPortableOnEveryBlockOfEveryRowWidth) {
  CheckEveryBlockOfEveryRowWidth<uint16_t>(5);
}

// 16-bit samples whose differences stay near Noise: sums of eight differences on both sides of
// 255, where a search may trade exact sums for clamped ones. (The 4:2:2 list, whose entries
// share one reference row, is covered by whole frames in tests/core.)
TEST(PlanarBlockChecker, DeepSamplesWithSmallDifferencesMatchPortable) {
  RandomBytes random(9);
  const std::vector<CandidateEntryPlanar> tables[] = {
      {CandidateTablePlanarA.begin(), CandidateTablePlanarA.end()},
      {CandidateTablePlanarB.begin(), CandidateTablePlanarB.end()}};
  int turn = 0;
  for (const KernelSet* set : VectorKernelSets()) {
    for (int deepScale : {1, 4}) {  // 8-bit pictures as they are and shifted to 10 bits
      for (const SearchLuma& luma : SearchLumaKinds()) {
        const auto scene = MakeScene<uint16_t>(362, luma, random, deepScale);
        for (const auto& table : tables) {
          for (int x = 4; x + 4 <= scene.chromaWidth; x += 4) {
            const int noise = std::array{60, 240, 254, 255, 256, 1020}[size_t(++turn) % 6];
            ASSERT_TRUE(SameBlock(*set, scene, table, x, noise))
                << "luma " << luma.name << ", scale " << deepScale;
          }
        }
      }
    }
  }
}

TEST(PlanarBlockChecker, MatchesPortableOnRandomScenes) { CheckRandomScenes<uint8_t>(77); }

TEST(PlanarBlockChecker, DeepSamplesMatchPortableOnRandomScenes) {
  CheckRandomScenes<uint16_t>(78);
}

}  // namespace
}  // namespace velmire::test
