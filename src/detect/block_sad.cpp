// Sums of absolute luma differences of eight-sample blocks, with the running best update.
// Samples are widened to 16-bit lanes, so each lane difference is -255..255 and the sum 0..2040.
#include "detect/block_sad.h"

#include "detect/word4_lanes.h"

namespace velmire {

namespace {

// |candidate - reference| summed over the lanes of two halves.
int SadOfHalves(Word4 candLow, Word4 refLow, Word4 candHigh, Word4 refHigh) {
  const Word4 low = AbsWord4(candLow.SubWord4(refLow));
  const Word4 high = AbsWord4(candHigh.SubWord4(refHigh));
  return SumLanes(AddWord4(low, high));
}

}  // namespace

bool BlockSadPlanar(const uint8_t* cand, const uint8_t* refBlock, int shift, int* best) {
  const uint8_t* block = cand + shift;
  const int sad = SadOfHalves(WidenBytes(block), WidenBytes(refBlock), WidenBytes(block + 4),
                              WidenBytes(refBlock + 4));
  if (sad >= *best) return false;
  *best = sad;
  return true;
}

bool BlockSadPlanar(const uint16_t* cand, const uint16_t* refBlock, int shift, int* best) {
  const uint16_t* block = cand + shift;
  int sad = 0;
  for (int i = 0; i < 8; ++i) {
    sad += block[i] > refBlock[i] ? block[i] - refBlock[i] : refBlock[i] - block[i];
  }
  if (sad >= *best) return false;
  *best = sad;
  return true;
}

void BlockSadYUY2(const uint8_t* cand, const uint8_t* refBlock, int shift, int* best,
                  const uint8_t** bestPos) {
  const uint8_t* block = cand + 2 * shift;
  const int sad = SadOfHalves(LumaLanesYUY2(block), LumaLanesYUY2(refBlock),
                              LumaLanesYUY2(block + 8), LumaLanesYUY2(refBlock + 8));
  if (sad >= *best) return;
  *best = sad;
  *bestPos = block;
}

}  // namespace velmire
