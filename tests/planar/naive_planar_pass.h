// A deliberately plain model of the whole planar pass, written sample by sample from the
// rules, to compare the filter against. It shares no code with the filter: the candidate
// lists are generated from their described structure rather than copied.
#pragma once

#include <vector>

#include "planar_image.h"

namespace velmire::test {

struct NaiveCandidate {
  int frame;         // -1, 0, +1
  int lumaRow;       // absolute
  int lumaOffset;    // d
  int referenceRow;  // absolute, frame n
  int chromaRow;     // absolute
  int chromaOffset;  // e
};

// The ordered candidates of chroma row cy in a plane of chromaHeight rows.
std::vector<NaiveCandidate> NaiveCandidates(int chromaHeight, int cy);

// Output frame n from frames n-1, n and n+1.
PlanarImage NaivePlanarPass(const PlanarImage& previous, const PlanarImage& current,
                            const PlanarImage& next, const FilterSettings& settings);

}  // namespace velmire::test
