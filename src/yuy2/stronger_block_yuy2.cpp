#include "yuy2/stronger_block_yuy2.h"

#include <cstddef>

#include "yuy2/candidate_table_yuy2.h"

namespace velmire {

namespace {

constexpr int kLumaStride = 2;  // luma samples are every other byte

int IndexOf(int frame, int rowOffset) {
  for (std::size_t i = 0; i < CandidateTableYUY2.size(); ++i) {
    const CandidateEntryYUY2& c = CandidateTableYUY2[i];
    if (c.frame == frame && c.rowOffset == rowOffset && c.shift == 0) return static_cast<int>(i);
  }
  return -1;
}

bool UsablePair(const RowJobYUY2& job, int a, int b, const PartnerLimits& limits, int x) {
  const LumaRun<uint8_t> reference{job.reference + x, kLumaStride};
  const LumaRun<uint8_t> lumaA{job.candidates[static_cast<std::size_t>(a)].row + x, kLumaStride};
  const LumaRun<uint8_t> lumaB{job.candidates[static_cast<std::size_t>(b)].row + x, kLumaStride};
  return LumaDifference(lumaA, reference) < limits.noise &&
         LumaDifference(lumaB, reference) < limits.noise &&
         LumaDifference(lumaA, lumaB) < limits.match;
}

}  // namespace

PartnerEntriesYUY2 PartnerEntriesOfYUY2() {
  return PartnerEntriesYUY2{IndexOf(-1, 0), IndexOf(+1, 0), IndexOf(0, -2), IndexOf(0, +2)};
}

void BlendBlockWithPartnersYUY2(const RowJobYUY2& job, int x, const uint8_t* mask) {
  const PartnerEntriesYUY2& partners = *job.partners;
  const PartnerLimits& limits = job.limits;
  const LumaRun<uint8_t> row{job.reference, kLumaStride};
  if (!HasFineDetail(row, x / 2, job.rowSize / 2, limits.detail)) return;
  int a = 0;
  int b = 0;
  auto usable = [&](int i, int j) { return UsablePair(job, i, j, limits, x); };
  if (!ChoosePartners(partners, usable, &a, &b)) return;
  const uint8_t* own = job.reference + x;
  const uint8_t* partnerA = job.candidates[static_cast<std::size_t>(a)].row + x;
  const uint8_t* partnerB = job.candidates[static_cast<std::size_t>(b)].row + x;
  BlockChroma chroma;
  for (int k = 0; k < 4; ++k) {
    const int u = 4 * k + 1;
    const int v = 4 * k + 3;
    chroma.own[k] = own[u];
    chroma.own[k + 4] = own[v];
    chroma.partnerA[k] = partnerA[u];
    chroma.partnerA[k + 4] = partnerA[v];
    chroma.partnerB[k] = partnerB[u];
    chroma.partnerB[k + 4] = partnerB[v];
    chroma.marked[k] = mask[x + u - 1] != 0;
    chroma.marked[k + 4] = mask[x + v - 1] != 0;
  }
  int out[8];
  BlendWithPartners(chroma, out);
  uint8_t* output = job.output + x;
  for (int k = 0; k < 4; ++k) {
    output[4 * k + 1] = static_cast<uint8_t>(out[k]);
    output[4 * k + 3] = static_cast<uint8_t>(out[k + 4]);
  }
}

}  // namespace velmire
