#include "planar/stronger_block_planar.h"

namespace velmire {

namespace {

// Whether entries a and b both match the block (each below Noise) and each other.
template <typename Sample>
bool UsablePair(const RowJobPlanarOf<Sample>& job, int a, int b, const PartnerLimits& limits,
                int x) {
  if (a < 0 || b < 0) return false;
  const RowCandidatePlanarOf<Sample>& ea = job.candidates[a];
  const RowCandidatePlanarOf<Sample>& eb = job.candidates[b];
  const LumaRun<Sample> lumaA{ea.luma + 2 * x, 1};
  const LumaRun<Sample> lumaB{eb.luma + 2 * x, 1};
  return LumaDifference(lumaA, LumaRun<Sample>{ea.reference + 2 * x, 1}) < limits.noise &&
         LumaDifference(lumaB, LumaRun<Sample>{eb.reference + 2 * x, 1}) < limits.noise &&
         LumaDifference(lumaA, lumaB) < limits.match;
}

}  // namespace

template <typename Sample>
void BlendBlockWithPartnersPlanar(const RowJobPlanarOf<Sample>& job, int x, const uint8_t* mask) {
  const PartnerEntriesPlanar& partners = *job.partners;
  const PartnerLimits& limits = job.limits;
  const LumaRun<Sample> row{job.candidates[partners.previous].reference, 1};
  if (!HasFineDetail(row, 2 * x, 2 * job.chromaWidth, limits.detail)) return;
  int a = 0;
  int b = 0;
  auto usable = [&](int i, int j) { return UsablePair(job, i, j, limits, x); };
  if (!ChoosePartners(partners, usable, &a, &b)) return;
  // Partners lie at offset 0: their chroma is the block's own columns of their rows.
  const RowCandidatePlanarOf<Sample>& ea = job.candidates[a];
  const RowCandidatePlanarOf<Sample>& eb = job.candidates[b];
  BlockChroma chroma;
  for (int k = 0; k < 4; ++k) {
    chroma.own[k] = job.sourceU[x + k];
    chroma.own[k + 4] = job.sourceV[x + k];
    chroma.partnerA[k] = ea.u[x + k];
    chroma.partnerA[k + 4] = ea.v[x + k];
    chroma.partnerB[k] = eb.u[x + k];
    chroma.partnerB[k + 4] = eb.v[x + k];
    chroma.marked[k] = chroma.marked[k + 4] = mask[x + k] != 0;
  }
  int out[8];
  BlendWithPartners(chroma, out);
  for (int k = 0; k < 4; ++k) {
    job.outputU[x + k] = static_cast<Sample>(out[k]);
    job.outputV[x + k] = static_cast<Sample>(out[k + 4]);
  }
}

template void BlendBlockWithPartnersPlanar(const RowJobPlanarOf<uint8_t>&, int, const uint8_t*);
template void BlendBlockWithPartnersPlanar(const RowJobPlanarOf<uint16_t>&, int, const uint8_t*);

}  // namespace velmire
