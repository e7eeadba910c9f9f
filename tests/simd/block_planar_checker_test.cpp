// The planar block search and blend of every vector kernel set against the portable one, byte
// for byte, on every block position of rows of every width remainder, with both candidate
// tables and with random ones. Every luma and chroma row is a buffer of exactly the row's
// size, so a read past a row's end trips AddressSanitizer.
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
// chroma row's output and mask.
struct PlanarScene {
  int chromaWidth;
  std::array<std::array<std::vector<uint8_t>, 5>, 3> luma;  // [frame + 1][luma row + 2]
  std::array<std::array<std::vector<uint8_t>, 3>, 3> u;     // [frame + 1][chroma row + 1]
  std::array<std::array<std::vector<uint8_t>, 3>, 3> v;
  std::vector<uint8_t> outputU, outputV;
  std::vector<uint8_t> mask;

  const uint8_t* Luma(int frame, int row) const {
    return luma[Index(frame)][Index(row + 1)].data();
  }
  const uint8_t* U(int frame, int row) const { return u[Index(frame)][Index(row)].data(); }
  const uint8_t* V(int frame, int row) const { return v[Index(frame)][Index(row)].data(); }

 private:
  static size_t Index(int relative) { return static_cast<size_t>(relative + 1); }
};

PlanarScene MakeScene(int chromaWidth, const SearchLuma& kind, RandomBytes& r) {
  const size_t w = static_cast<size_t>(chromaWidth);
  PlanarScene scene{chromaWidth, {}, {}, {}, r.Bytes(w), r.Bytes(w), {}};
  for (auto& frame : scene.luma)
    for (auto& row : frame) row = kind.row(r, 2 * chromaWidth);
  for (auto* plane : {&scene.u, &scene.v})
    for (auto& frame : *plane)
      for (auto& row : frame) row = r.Bytes(w);
  // Entries of 0x00 and 0xFF as the mask routine leaves them, or any byte values.
  const bool anyBytes = r.Chance(25);
  scene.mask.resize(w);
  for (uint8_t& entry : scene.mask) entry = anyBytes ? r.Byte() : (r.Chance(60) ? 0xFF : 0x00);
  return scene;
}

RowJobPlanar MakeJob(const PlanarScene& scene, std::span<const CandidateEntryPlanar> table,
                     uint8_t* outputU, uint8_t* outputV, int noise) {
  RowJobPlanar job{};
  for (const CandidateEntryPlanar& e : table) {
    job.candidates.at(static_cast<size_t>(job.count++)) =
        RowCandidatePlanar{scene.Luma(e.frame, e.lumaRow), scene.Luma(0, e.referenceRow),
                           scene.U(e.frame, e.chromaRow), scene.V(e.frame, e.chromaRow),
                           e.lumaOffset, e.chromaOffset};
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

::testing::AssertionResult SameBlock(const KernelSet& set, const PlanarScene& scene,
                                     std::span<const CandidateEntryPlanar> table, int x, int noise) {
  std::vector<uint8_t> expectedU(scene.outputU), expectedV(scene.outputV);
  std::vector<uint8_t> actualU(scene.outputU), actualV(scene.outputV);
  const RowJobPlanar portable = MakeJob(scene, table, expectedU.data(), expectedV.data(), noise);
  const RowJobPlanar vector = MakeJob(scene, table, actualU.data(), actualV.data(), noise);
  CorrectBlockPlanarPortable(portable, x, scene.mask.data());
  set.correctBlockPlanar(vector, x, scene.mask.data());
  if (actualU == expectedU && actualV == expectedV) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << set.name << ": chroma row of " << scene.chromaWidth << " samples, block " << x << ", "
         << table.size() << " entries, Noise " << noise << ": "
         << (actualU == expectedU ? "V" : "U") << " differs from the portable result";
}

std::vector<int> ChromaWidths() {
  std::vector<int> widths;
  for (int w = 8; w <= 56; ++w) widths.push_back(w);
  for (int w : {357, 358, 359, 360, 361, 362, 363, 960}) widths.push_back(w);
  return widths;
}

TEST(PlanarBlockChecker, MatchesPortableOnEveryBlockOfEveryRowWidth) {
  RandomBytes random(3);
  std::vector<std::vector<CandidateEntryPlanar>> tables{
      {CandidateTablePlanarA.begin(), CandidateTablePlanarA.end()},
      {CandidateTablePlanarB.begin(), CandidateTablePlanarB.end()}};
  for (int t = 0; t < 3; ++t) tables.push_back(RandomTable(random));
  int turn = 0;
  for (const KernelSet* set : VectorKernelSets()) {
    for (int width : ChromaWidths()) {
      for (const SearchLuma& luma : SearchLumaKinds()) {
        const PlanarScene scene = MakeScene(width, luma, random);
        for (size_t t = 0; t < tables.size(); ++t) {
          // Every block position the contract allows, the last one flush with the row's end.
          for (int x = 4; x + 4 <= width; x += 4) {
            const int noise = NoiseValues()[static_cast<size_t>(++turn) % NoiseValues().size()];
            ASSERT_TRUE(SameBlock(*set, scene, tables[t], x, noise))
                << "luma " << luma.name << ", table " << t;
          }
        }
      }
    }
  }
}

TEST(PlanarBlockChecker, MatchesPortableOnRandomScenes) {
  RandomBytes random(77);
  for (const KernelSet* set : VectorKernelSets()) {
    for (int run = 0; run < 2000; ++run) {
      const int width = random.Between(8, 200);
      const SearchLuma& luma = random.Pick(SearchLumaKinds());
      const PlanarScene scene = MakeScene(width, luma, random);
      const int pick = random.Between(0, 2);
      const std::vector<CandidateEntryPlanar> table =
          pick == 0   ? std::vector<CandidateEntryPlanar>(CandidateTablePlanarA.begin(),
                                                    CandidateTablePlanarA.end())
          : pick == 1 ? std::vector<CandidateEntryPlanar>(CandidateTablePlanarB.begin(),
                                                      CandidateTablePlanarB.end())
                      : RandomTable(random);
      const int x = 4 * random.Between(1, width / 4 - 1);
      const int noise = random.Chance(50) ? random.Between(0, 255) : random.Pick(NoiseValues());
      ASSERT_TRUE(SameBlock(*set, scene, table, x, noise))
          << "run " << run << ", luma " << luma.name;
    }
  }
}

}  // namespace
}  // namespace velmire::test
