// The YUY2 block search and blend of every vector kernel set against the portable one, byte
// for byte, on every block position of rows of every width remainder. Each of the fifteen rows
// a search reads is a buffer of exactly the row's size, so a read past a row's end trips
// AddressSanitizer whatever the pitch of a real frame would be.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "core/kernel_table.h"
#include "search_luma.h"
#include "vector_sets.h"
#include "yuy2/candidate_table_yuy2.h"

namespace velmire::test {
namespace {

using Table = std::array<CandidateEntryYUY2, kYuy2CandidateCount>;

// Rows y-2 .. y+2 of frames n-1, n and n+1, and the working row's output and mask.
struct Yuy2Scene {
  int rowSize;
  std::array<std::array<std::vector<uint8_t>, 5>, 3> rows;  // [frame + 1][row offset + 2]
  std::vector<uint8_t> output;
  std::vector<uint8_t> mask;

  const uint8_t* Row(int frame, int rowOffset) const {
    return rows[static_cast<size_t>(frame + 1)][static_cast<size_t>(rowOffset + 2)].data();
  }
};

Yuy2Scene MakeScene(int rowSize, const SearchLuma& luma, RandomBytes& r) {
  Yuy2Scene scene{rowSize, {}, r.Bytes(static_cast<size_t>(rowSize)), {}};
  for (auto& frame : scene.rows) {
    for (auto& row : frame) {
      const std::vector<uint8_t> samples = luma.row(r, (rowSize + 1) / 2);
      row = r.Bytes(static_cast<size_t>(rowSize));  // chroma
      for (int b = 0; b < rowSize; b += 2)
        row[static_cast<size_t>(b)] = samples[static_cast<size_t>(b / 2)];
    }
  }
  // Whole macropixels marked or not (as the mask routine leaves them), or any byte values.
  const bool anyBytes = r.Chance(25);
  scene.mask.resize(static_cast<size_t>(rowSize));
  for (int b = 0; b < rowSize; b += 4) {
    const uint8_t marked = r.Chance(60) ? 0xFF : 0x00;
    for (int i = b; i < b + 4 && i < rowSize; ++i) {
      scene.mask[static_cast<size_t>(i)] = anyBytes ? r.Byte() : marked;
    }
  }
  return scene;
}

RowJobYUY2 MakeJob(const Yuy2Scene& scene, const Table& table, uint8_t* output, int noise) {
  RowJobYUY2 job{};
  for (size_t i = 0; i < table.size(); ++i) {
    job.candidates[i] =
        RowCandidateYUY2{scene.Row(table[i].frame, table[i].rowOffset), table[i].shift};
  }
  job.reference = scene.Row(0, 0);
  job.output = output;
  job.rowSize = scene.rowSize;
  job.noise = noise;
  return job;
}

// Candidates of any frame, row and shift (even or odd) in any order.
Table RandomTable(RandomBytes& r) {
  Table table{};
  for (CandidateEntryYUY2& c : table) {
    c = CandidateEntryYUY2{static_cast<int8_t>(r.Between(-1, 1)), static_cast<int8_t>(r.Between(-2, 2)),
                      static_cast<int8_t>(r.Between(-6, 6))};
  }
  return table;
}

::testing::AssertionResult SameBlock(const KernelSet& set, const Yuy2Scene& scene,
                                     const Table& table, int x, int noise) {
  std::vector<uint8_t> expected(scene.output);
  std::vector<uint8_t> actual(scene.output);
  CorrectBlockYUY2Portable(MakeJob(scene, table, expected.data(), noise), x, scene.mask.data());
  set.correctBlockYUY2(MakeJob(scene, table, actual.data(), noise), x, scene.mask.data());
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure()
         << set.name << ": row of " << scene.rowSize << " bytes, block " << x << ", Noise " << noise
         << ": output byte " << at << " is " << int{actual[at]} << ", portable gives "
         << int{expected[at]};
}

std::vector<int> RowSizes() {
  std::vector<int> sizes;
  for (int s = 32; s <= 112; s += 2) sizes.push_back(s);
  for (int s : {1436, 1440, 1444, 1448, 1452}) sizes.push_back(s);
  return sizes;
}

TEST(Yuy2BlockChecker, MatchesPortableOnEveryBlockOfEveryRowWidth) {
  RandomBytes random(5);
  std::vector<Table> tables{CandidateTableYUY2};
  for (int t = 0; t < 3; ++t) tables.push_back(RandomTable(random));
  int turn = 0;
  for (const KernelSet* set : VectorKernelSets()) {
    for (int rowSize : RowSizes()) {
      for (const SearchLuma& luma : SearchLumaKinds()) {
        const Yuy2Scene scene = MakeScene(rowSize, luma, random);
        for (size_t t = 0; t < tables.size(); ++t) {
          // Every block position the contract allows, the last one flush with the row's end.
          for (int x = 16; x + 16 <= rowSize; x += 16) {
            const int noise = NoiseValues()[static_cast<size_t>(++turn) % NoiseValues().size()];
            ASSERT_TRUE(SameBlock(*set, scene, tables[t], x, noise))
                << "luma " << luma.name << ", table " << t;
          }
        }
      }
    }
  }
}

TEST(Yuy2BlockChecker, MatchesPortableOnRandomScenes) {
  RandomBytes random(99);
  for (const KernelSet* set : VectorKernelSets()) {
    for (int run = 0; run < 2000; ++run) {
      const int rowSize = 2 * random.Between(16, 120);
      const SearchLuma& luma = random.Pick(SearchLumaKinds());
      const Yuy2Scene scene = MakeScene(rowSize, luma, random);
      const Table table = random.Chance(50) ? CandidateTableYUY2 : RandomTable(random);
      const int x = 16 * random.Between(1, rowSize / 16 - 1);
      const int noise = random.Chance(50) ? random.Between(0, 255) : random.Pick(NoiseValues());
      ASSERT_TRUE(SameBlock(*set, scene, table, x, noise))
          << "run " << run << ", luma " << luma.name;
    }
  }
}

}  // namespace
}  // namespace velmire::test
