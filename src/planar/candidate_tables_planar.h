// The two ordered candidate lists of the planar block search. Every entry names a frame
// (-1: n-1, 0: n, +1: n+1), a candidate luma row and the luma row of frame n it is compared
// with, a chroma row the blend reads when the entry wins, and the horizontal offsets d (luma)
// and e = d/2 (chroma). Rows are relative to the chroma row cy being corrected: luma rows to
// 2cy, chroma rows to cy.
//
// Table A serves rows with an odd number of chroma rows from cy to the bottom of the plane
// (H - cy odd) and compares against luma row 2cy-1; table B serves the others and compares
// against luma row 2cy. Both list a left run (negative offsets), a zero-offset run in frames
// n-1 and n+1, and a mirrored right run. Order matters: of equal differences the earlier
// entry wins.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velmire {

struct CandidateEntryPlanar {
  int8_t frame;         // -1, 0 or +1: which of frames n-1, n, n+1 holds the candidate
  int8_t lumaRow;       // candidate luma row, relative to 2cy
  int8_t lumaOffset;    // d: the candidate block starts d luma columns from the block's 2x
  int8_t referenceRow;  // luma row of frame n it is compared with, relative to 2cy
  int8_t chromaRow;     // chroma row of the source, relative to cy
  int8_t chromaOffset;  // e: the source starts e chroma columns from x
};

inline constexpr int kCandidateCountPlanarA = 34;
inline constexpr int kCandidateCountPlanarB = 32;

extern const std::array<CandidateEntryPlanar, kCandidateCountPlanarA> CandidateTablePlanarA;
extern const std::array<CandidateEntryPlanar, kCandidateCountPlanarB> CandidateTablePlanarB;

// The table of chroma row cy of a plane of chromaHeight rows: A when chromaHeight - cy is
// odd, B when it is even. 4:2:0 chroma of interlaced video alternates fields row by row, and
// table A compares against a luma row of the other parity (2cy-1) than table B (2cy), so
// alternating the tables keeps each chroma row matched against luma of its own field. The
// alternation counts from the bottom of the plane: with the usual even height, the odd rows
// take table A.
std::span<const CandidateEntryPlanar> CandidateTablePlanarFor(int chromaHeight, int cy);

// The list of planar 4:2:2 rows: the packed 4:2:2 (YUY2) list entry for entry, so that the two
// give the same result. Chroma rows are as tall as luma rows there: an entry of row offset r
// and shift s becomes luma row r, d = s, reference row 0, chroma row r, e = s/2.
std::span<const CandidateEntryPlanar> CandidateTablePlanar422();

// The entries of a table the stronger mode pairs, as indices (-1: the table has none): the
// block's own place in frames n-1 and n+1 (luma compared row for row, no offset), and in frame
// n the rows two above and two below (the neighbouring lines of the block's field).
struct PartnerEntriesPlanar {
  int previous = -1;
  int next = -1;
  int above = -1;
  int below = -1;
};

PartnerEntriesPlanar PartnerEntriesOfPlanar(std::span<const CandidateEntryPlanar> table);

}  // namespace velmire
