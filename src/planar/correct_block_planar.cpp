#include "planar/correct_block_planar.h"

#include "detect/block_sad.h"

namespace velmire {

void CorrectBlockPlanarPortable(const PlanarRowJob& job, int x, const uint8_t* mask) {
  int best = job.noise;
  const uint8_t* selectedU = job.sourceU + x;
  const uint8_t* selectedV = job.sourceV + x;
  for (int i = 0; i < job.count; ++i) {
    const PlanarCandidate& c = job.candidates[i];
    // An entry whose chroma reaches past the row's last column would read outside the plane.
    if (x + c.chromaOffset + 4 > job.chromaWidth) continue;
    if (BlockSadPlanar(c.luma + 2 * x, c.reference + 2 * x, c.lumaOffset, &best)) {
      selectedU = c.u + x + c.chromaOffset;
      selectedV = c.v + x + c.chromaOffset;
    }
  }
  for (int k = 0; k < 4; ++k) {
    const uint8_t u = job.sourceU[x + k];
    const uint8_t v = job.sourceV[x + k];
    job.outputU[x + k] = mask[x + k] ? static_cast<uint8_t>((u + selectedU[k]) >> 1) : u;
    job.outputV[x + k] = mask[x + k] ? static_cast<uint8_t>((v + selectedV[k]) >> 1) : v;
  }
}

}  // namespace velmire
