#include "planar/candidate_tables_planar.h"

#include "yuy2/candidate_table_yuy2.h"

namespace velmire {

// Columns: frame, candidate luma row, d, reference luma row, chroma row, e.
constexpr std::array<CandidateEntryPlanar, kCandidateCountPlanarA> CandidateTablePlanarA{{
    // Left run: per frame, row above (-6, -2), own row (-4), row below (-6, -2).
    {-1, -2, -6, -1, -1, -3},
    {-1, -2, -2, -1, -1, -1},
    {-1, -1, -4, -1, 0, -2},
    {-1, +2, -6, -1, +1, -3},
    {-1, +2, -2, -1, +1, -1},
    {0, -2, -6, -1, -1, -3},
    {0, -2, -2, -1, -1, -1},
    {0, -1, -4, -1, 0, -2},
    {0, +2, -6, -1, +1, -3},
    {0, +2, -2, -1, +1, -1},
    {+1, -2, -6, -1, -1, -3},
    {+1, -2, -2, -1, -1, -1},
    {+1, -1, -4, -1, 0, -2},
    {+1, +2, -6, -1, +1, -3},
    {+1, +2, -2, -1, +1, -1},
    // Zero offset in the neighbours; the last two compare the lower luma row 2cy+1.
    {-1, -1, 0, -1, 0, 0},
    {+1, -1, 0, -1, 0, 0},
    {-1, +1, 0, +1, 0, 0},
    {+1, +1, 0, +1, 0, 0},
    // Right run.
    {-1, -2, +6, -1, -1, +3},
    {-1, -2, +2, -1, -1, +1},
    {-1, -1, +4, -1, 0, +2},
    {-1, +2, +6, -1, +1, +3},
    {-1, +2, +2, -1, +1, +1},
    {0, -2, +6, -1, -1, +3},
    {0, -2, +2, -1, -1, +1},
    {0, -1, +4, -1, 0, +2},
    {0, +2, +6, -1, +1, +3},
    {0, +2, +2, -1, +1, +1},
    {+1, -2, +6, -1, -1, +3},
    {+1, -2, +2, -1, -1, +1},
    {+1, -1, +4, -1, 0, +2},
    {+1, +2, +6, -1, +1, +3},
    {+1, +2, +2, -1, +1, +1},
}};

constexpr std::array<CandidateEntryPlanar, kCandidateCountPlanarB> CandidateTablePlanarB{{
    // Left run.
    {-1, -1, -6, 0, -1, -3},
    {-1, -1, -2, 0, -1, -1},
    {-1, 0, -4, 0, 0, -2},
    {-1, +1, -6, 0, +1, -3},
    {-1, +1, -2, 0, +1, -1},
    {0, -1, -6, 0, -1, -3},
    {0, -1, -2, 0, -1, -1},
    {0, 0, -4, 0, 0, -2},
    {0, +1, -6, 0, +1, -3},
    {0, +1, -2, 0, +1, -1},
    {+1, -1, -6, 0, -1, -3},
    {+1, -1, -2, 0, -1, -1},
    {+1, 0, -4, 0, 0, -2},
    {+1, +1, -6, 0, +1, -3},
    {+1, +1, -2, 0, +1, -1},
    // Zero offset in the neighbours.
    {-1, 0, 0, 0, 0, 0},
    {+1, 0, 0, 0, 0, 0},
    // Right run.
    {-1, -1, +6, 0, -1, +3},
    {-1, -1, +2, 0, -1, +1},
    {-1, 0, +4, 0, 0, +2},
    {-1, +1, +6, 0, +1, +3},
    {-1, +1, +2, 0, +1, +1},
    {0, -1, +6, 0, -1, +3},
    {0, -1, +2, 0, -1, +1},
    {0, 0, +4, 0, 0, +2},
    {0, +1, +6, 0, +1, +3},
    {0, +1, +2, 0, +1, +1},
    {+1, -1, +6, 0, -1, +3},
    {+1, -1, +2, 0, -1, +1},
    {+1, 0, +4, 0, 0, +2},
    {+1, +1, +6, 0, +1, +3},
    {+1, +1, +2, 0, +1, +1},
}};

namespace {

// Invariants every entry keeps: the chroma offset is half the luma offset, the block is never
// compared with itself, and every read stays within luma rows 2cy-2 .. 2cy+2 and chroma rows
// cy-1 .. cy+1 (inside the planes for 1 <= cy <= H-2).
template <size_t N>
constexpr bool EntriesAreConsistent(const std::array<CandidateEntryPlanar, N>& table) {
  for (const CandidateEntryPlanar& entry : table) {
    if (entry.lumaOffset != 2 * entry.chromaOffset) return false;
    if (entry.frame == 0 && entry.lumaOffset == 0) return false;
    if (entry.frame < -1 || entry.frame > 1) return false;
    if (entry.lumaRow < -2 || entry.lumaRow > 2) return false;
    if (entry.referenceRow < -2 || entry.referenceRow > 2) return false;
    if (entry.chromaRow < -1 || entry.chromaRow > 1) return false;
    if (entry.chromaOffset < -3 || entry.chromaOffset > 3) return false;
  }
  return true;
}

static_assert(EntriesAreConsistent(CandidateTablePlanarA));
static_assert(EntriesAreConsistent(CandidateTablePlanarB));

}  // namespace

std::span<const CandidateEntryPlanar> CandidateTablePlanarFor(int chromaHeight, int cy) {
  if ((chromaHeight - cy) % 2 != 0) return CandidateTablePlanarA;
  return CandidateTablePlanarB;
}

std::span<const CandidateEntryPlanar> CandidateTablePlanar422() {
  static const std::array<CandidateEntryPlanar, kYuy2CandidateCount> table = [] {
    std::array<CandidateEntryPlanar, kYuy2CandidateCount> entries{};
    for (size_t i = 0; i < entries.size(); ++i) {
      const CandidateEntryYUY2& packed = CandidateTableYUY2[i];
      entries[i] = CandidateEntryPlanar{packed.frame,    packed.rowOffset, packed.shift, 0,
                                    packed.rowOffset, static_cast<int8_t>(packed.shift / 2)};
    }
    return entries;
  }();
  return table;
}

PartnerEntriesPlanar PartnerEntriesOfPlanar(std::span<const CandidateEntryPlanar> table) {
  PartnerEntriesPlanar partners;
  auto first = [&](int& index, int frame, bool sameRow, int lumaRow) {
    for (size_t i = 0; i < table.size() && index < 0; ++i) {
      const CandidateEntryPlanar& e = table[i];
      if (e.frame != frame || e.lumaOffset != 0) continue;
      if (sameRow ? e.lumaRow == e.referenceRow : e.lumaRow == lumaRow) {
        index = static_cast<int>(i);
      }
    }
  };
  first(partners.previous, -1, true, 0);
  first(partners.next, +1, true, 0);
  first(partners.above, 0, false, -2);
  first(partners.below, 0, false, +2);
  return partners;
}

}  // namespace velmire
