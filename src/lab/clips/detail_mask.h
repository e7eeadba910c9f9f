// Where a picture has fine luma detail: samples whose horizontal luma curvature is large, or
// that lie close enough to one for a composite decoder's filters to spread false colour there.
#pragma once

#include <cstdint>
#include <vector>

#include "lab/clips/float_plane.h"

namespace velmire::lab {

// One entry per luma sample, 1 for detailed and 0 for flat.
std::vector<std::uint8_t> FindDetailedAreas(const FloatPlane& luma);

}  // namespace velmire::lab
