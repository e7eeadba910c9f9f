#include "yuy2/correct_block_yuy2.h"

#include "detect/block_sad.h"
#include "yuy2/stronger_block_yuy2.h"

namespace velmire {

void CorrectBlockYUY2Portable(const RowJobYUY2& job, int x, const uint8_t* mask) {
  const uint8_t* reference = job.reference + x;
  int best = job.noise;
  const uint8_t* bestPos = reference;
  for (const RowCandidateYUY2& candidate : job.candidates) {
    // A candidate reaching past the row's last byte would read outside the row: left out.
    if (x + 2 * candidate.shift + 16 > job.rowSize) continue;
    BlockSadYUY2(candidate.row + x, reference, candidate.shift, &best, &bestPos);
  }
  uint8_t* out = job.output + x;
  for (int m = 0; m < 16; m += 4) {
    out[m] = reference[m];
    out[m + 2] = reference[m + 2];
    out[m + 1] = mask[x + m] ? static_cast<uint8_t>((reference[m + 1] + bestPos[m + 1]) >> 1)
                             : reference[m + 1];
    out[m + 3] = mask[x + m + 2] ? static_cast<uint8_t>((reference[m + 3] + bestPos[m + 3]) >> 1)
                                 : reference[m + 3];
  }
}

void CorrectRowYUY2Portable(const RowJobYUY2& job, const uint8_t* mask) {
  ForEachMarkedBlockYUY2(job, mask, [&](int x) {
    CorrectBlockYUY2Portable(job, x, mask);
    if (job.partners != nullptr) BlendBlockWithPartnersYUY2(job, x, mask);
  });
}

}  // namespace velmire
