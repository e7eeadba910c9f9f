// Edge mask of one row: which chroma positions lie on (or near) a steep luma ramp.
//
// A luma sample C with left neighbour L and right neighbour R is an edge sample when
// |L - R| > thresholdY and C lies strictly between L and R. A chroma position covers luma
// samples 2p and 2p+1 and is flagged when either is an edge sample; every flagged position
// marks itself and `margin` positions on each side. Entries are only ever set to 0xFF.
#pragma once

#include <cstdint>

namespace velmire {

// YUY2 row of `rowSize` bytes (Y0 U Y1 V per macropixel); the mask has one entry per byte of
// the row (four equal entries per macropixel) and must hold exactly `rowSize` bytes. Marks that
// widening would place past the end of the row are dropped.
using EdgeMaskYUY2Fn = void (*)(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                                int margin);

// Luma row of a planar frame; the mask has one entry per chroma column and must hold exactly
// `chromaRowSize` bytes. Reads luma samples 0 .. 2*chromaRowSize-1 at most. Samples are bytes,
// or 16-bit values of 9 to 16 bits with the threshold given in their units.
template <typename Sample>
using EdgeMaskPlanarFnOf = void (*)(const Sample* lumaRow, uint8_t* mask, int chromaRowSize,
                                    int thresholdY, int margin);
using EdgeMaskPlanarFn = EdgeMaskPlanarFnOf<uint8_t>;
using EdgeMaskPlanar16Fn = EdgeMaskPlanarFnOf<uint16_t>;

// Portable definitions of the result; every faster version must match them byte for byte.
void BuildEdgeMaskYUY2Portable(const uint8_t* srcRow, uint8_t* mask, int rowSize, int thresholdY,
                               int margin);
void BuildEdgeMaskPlanarPortable(const uint8_t* lumaRow, uint8_t* mask, int chromaRowSize,
                                 int thresholdY, int margin);
void BuildEdgeMaskPlanar16Portable(const uint16_t* lumaRow, uint8_t* mask, int chromaRowSize,
                                   int thresholdY, int margin);

}  // namespace velmire
