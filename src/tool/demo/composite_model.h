// A simple model of NTSC composite video, one line at a time: U and V modulate a colour
// subcarrier (3.579545 MHz at 13.5 MHz sampling) whose phase turns 180 degrees from line to
// line and from frame to frame, and are added to luma. The decoder separates them again with a
// narrow notch at the subcarrier for luma and a wider band-pass, synchronous demodulation and
// low-pass for chroma. Luma detail inside the chroma band leaks into the chroma path and comes
// out as false colour (cross-colour) whose sign alternates with the subcarrier phase.
#pragma once

#include <vector>

namespace velmire::cli {

struct DecodedLine {
  std::vector<float> y;
  std::vector<float> u, v;              // what the decoder delivers
  std::vector<float> clean_u, clean_v;  // the same without the luma's leakage into chroma
};

class CompositeModel {
 public:
  // For lines of `width` samples.
  explicit CompositeModel(int width);

  // Encodes and decodes one line (Y on the studio scale, U and V centred on zero). The
  // subcarrier phase follows the parity of line + frame.
  DecodedLine EncodeDecode(const float* y, const float* u, const float* v, int line,
                           int frame) const;

 private:
  int width_;
  std::vector<float> lowpass_;   // chroma bandwidth, unity gain at DC
  std::vector<float> bandpass_;  // the same shifted to the subcarrier, unity gain there
  std::vector<float> carrier_sin_, carrier_cos_;  // subcarrier of an even line in an even frame
};

}  // namespace velmire::cli
