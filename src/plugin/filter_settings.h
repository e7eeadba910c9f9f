// The four script arguments of the filter, clamped once when the filter is built.
#pragma once

namespace velmire {

struct FilterSettings {
  int ThresholdY = 30;  // luma edge threshold, 0..255
  int Noise = 60;       // a match must differ by strictly less than this, 0..255
  int Margin = 1;       // widening of the edge mask in chroma positions, 0..4
  bool Debug = false;   // paint the mask instead of correcting

  // Out-of-range values are clamped, never refused.
  static FilterSettings Clamped(int thresholdY, int noise, int margin, bool debug);
};

}  // namespace velmire
