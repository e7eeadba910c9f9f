#include "core/plane_views.h"

#include <cstring>

namespace velmire {

WritablePlaneView CopyPlane(const PlaneView& from, WritablePlaneView to) {
  to.rowSize = from.rowSize;
  to.height = from.height;
  for (int row = 0; row < from.height; ++row) {
    std::memcpy(to.data + row * to.pitch, from.data + row * from.pitch,
                static_cast<size_t>(from.rowSize));
  }
  return to;
}

}  // namespace velmire
