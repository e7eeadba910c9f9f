// Random frame triples (n-1, n, n+1) made so that the block search has work to do: frame n
// has steep ramps (dense masks), rows that repeat with a short period (matches inside frame
// n) and rows copied from the row above; the neighbours are rows of frame n moved by up to
// two rows and six samples, some with a little noise (near misses and ties), some random.
// Chroma is random everywhere.
#pragma once

#include <random>

#include "planar_image.h"

namespace velmire::test {

struct FrameTriple {
  PlanarImage previous, current, next;
};

FrameTriple TexturedFrames(int lumaWidth, int lumaHeight, std::mt19937& random);

}  // namespace velmire::test
