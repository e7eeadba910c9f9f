// Vector versions of the pixel kernels for x86 processors. Each gives exactly the bytes of its
// portable counterpart (detect/edge_mask.h, yuy2/correct_block_yuy2.h,
// planar/correct_block_planar.h) for every input, and reads no byte that the portable version
// does not read. The SSE2 versions run on every x86-64 processor; the AVX2 ones only where the
// processor reports AVX2, which the caller checks before choosing them.
#pragma once

#include <cstdint>

#include "planar/correct_block_planar.h"
#include "planar/stronger_block_planar.h"
#include "yuy2/correct_block_yuy2.h"
#include "yuy2/stronger_block_yuy2.h"

namespace velmire::simd {

void BuildEdgeMaskYUY2Sse2(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                           int margin);
void BuildEdgeMaskPlanarSse2(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                             int thresholdY, int margin);
void CorrectBlockYUY2Sse2(const RowJobYUY2& job, int x, const uint8_t* mask);
void CorrectBlockPlanarSse2(const RowJobPlanar& job, int x, const uint8_t* mask);
void CorrectRowYUY2Sse2(const RowJobYUY2& job, const uint8_t* mask);
void CorrectRowPlanarSse2(const RowJobPlanar& job, const uint8_t* mask);
void BlendBlockWithPartnersPlanarSse2(const RowJobPlanar& job, int x, const uint8_t* mask);
void BlendBlockWithPartnersYUY2Sse2(const RowJobYUY2& job, int x, const uint8_t* mask);
void BuildEdgeMaskPlanar16Sse2(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                               int thresholdY, int margin);
void CorrectBlockPlanar16Sse2(const RowJobPlanar16& job, int x, const uint8_t* mask);
void CorrectRowPlanar16Sse2(const RowJobPlanar16& job, const uint8_t* mask);

void BuildEdgeMaskYUY2Avx2(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                           int margin);
void BuildEdgeMaskPlanarAvx2(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                             int thresholdY, int margin);
void BuildEdgeMaskPlanar16Avx2(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                               int thresholdY, int margin);

}  // namespace velmire::simd
