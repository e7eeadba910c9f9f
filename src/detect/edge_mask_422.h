// Edge mask of a row of planar 4:2:2 video. Its chroma rows are as tall as the luma rows, so
// each chroma row is examined on its own luma row, and the mask is exactly the packed 4:2:2
// (YUY2) mask of the same picture: groups of two chroma columns (four luma samples) from
// column 4 on, while the group's first luma sample lies more than eight samples before the end
// of the row. The planar walk, in groups of four columns, covers the same columns or two more;
// this routine runs a planar mask kernel and takes those two back.
#pragma once

#include <cstdint>

#include "detect/edge_mask.h"

namespace velmire {

// `lumaRow` holds 2 * chromaWidth samples; `mask` holds chromaWidth entries, zero on entry.
template <typename Sample>
void BuildEdgeMask422(EdgeMaskPlanarFnOf<Sample> planarMask, const Sample* lumaRow,
                      uint8_t* mask, int chromaWidth, int thresholdY, int margin);

}  // namespace velmire
