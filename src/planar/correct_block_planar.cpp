#include "planar/correct_block_planar.h"

#include "detect/block_sad.h"
#include "planar/stronger_block_planar.h"

namespace velmire {

namespace {

template <typename Sample>
void CorrectBlockPlanarOf(const RowJobPlanarOf<Sample>& job, int x, const uint8_t* mask) {
  int best = job.noise;
  const Sample* selectedU = job.sourceU + x;
  const Sample* selectedV = job.sourceV + x;
  for (int i = 0; i < job.count; ++i) {
    const RowCandidatePlanarOf<Sample>& c = job.candidates[i];
    // An entry whose chroma reaches past the row's last column would read outside the plane.
    if (x + c.chromaOffset + 4 > job.chromaWidth) continue;
    if (BlockSadPlanar(c.luma + 2 * x, c.reference + 2 * x, c.lumaOffset, &best)) {
      selectedU = c.u + x + c.chromaOffset;
      selectedV = c.v + x + c.chromaOffset;
    }
  }
  for (int k = 0; k < 4; ++k) {
    const Sample u = job.sourceU[x + k];
    const Sample v = job.sourceV[x + k];
    job.outputU[x + k] = mask[x + k] ? static_cast<Sample>((u + selectedU[k]) >> 1) : u;
    job.outputV[x + k] = mask[x + k] ? static_cast<Sample>((v + selectedV[k]) >> 1) : v;
  }
}

template <typename Sample>
void CorrectRowPlanarOf(const RowJobPlanarOf<Sample>& job, const uint8_t* mask) {
  ForEachMarkedBlockPlanar(job, mask, [&](int x) {
    CorrectBlockPlanarOf(job, x, mask);
    if (job.partners != nullptr) BlendBlockWithPartnersPlanar(job, x, mask);
  });
}

}  // namespace

void CorrectBlockPlanarPortable(const RowJobPlanar& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarOf(job, x, mask);
}

void CorrectBlockPlanar16Portable(const RowJobPlanar16& job, int x, const uint8_t* mask) {
  CorrectBlockPlanarOf(job, x, mask);
}

void CorrectRowPlanarPortable(const RowJobPlanar& job, const uint8_t* mask) {
  CorrectRowPlanarOf(job, mask);
}

void CorrectRowPlanar16Portable(const RowJobPlanar16& job, const uint8_t* mask) {
  CorrectRowPlanarOf(job, mask);
}

}  // namespace velmire
