// A simple model of composite video, one line at a time: U and V modulate a colour
// subcarrier (NTSC 3.579545 MHz, PAL 4.43361875 MHz, at 13.5 MHz sampling) whose phase on
// each line follows the standard's scanning (see video_standard.h), and are added to luma.
// The decoder separates them again with a narrow notch at the subcarrier for luma and a wider
// band-pass, synchronous demodulation and low-pass for chroma. Luma detail inside the chroma
// band leaks into the chroma path and comes out as false colour (cross-colour) that turns with
// the subcarrier phase: partners of opposite phase carry it with opposite sign.
//
// The notch lets the chroma's sidebands through into the luma: the decoded luma carries
// residual subcarrier (dot crawl) that turns with the subcarrier's phase, so in NTSC it flips
// from frame to frame at the same place, and the luma detail next to the subcarrier is gone.
// Noise on the composite signal is optional: white Gaussian noise of the given standard
// deviation (8-bit luma steps) added before the decoder, a fixed pattern per frame and line.
//
// Left out: the I/Q axes and their unequal bandwidths (U and V both get 1.3 MHz), PAL's delay
// line (the decoder is a plain notch decoder for both standards), and any error of the
// recovered subcarrier's phase.
#pragma once

#include <vector>

#include "lab/clips/video_standard.h"

namespace velmire::lab {

struct DecodedLine {
  std::vector<float> y;
  std::vector<float> u, v;              // what the decoder delivers
  std::vector<float> clean_u, clean_v;  // the same without the luma's leakage into chroma
};

class CompositeModel {
 public:
  // For lines of `width` samples.
  explicit CompositeModel(int width, VideoStandard standard = VideoStandard::kNtsc,
                          float noise_sigma = 0.0f);

  // Encodes and decodes frame line `line` of frame `frame` (Y on the studio scale, U and V
  // centred on zero), with the subcarrier phase the standard gives that line. The noise, if
  // any, counts as leakage: the clean chroma is free of it.
  DecodedLine EncodeDecode(const float* y, const float* u, const float* v, int line,
                           int frame) const;

 private:
  int width_;
  VideoStandard standard_;
  float noise_sigma_;
  double cycles_per_sample_;
  std::vector<float> lowpass_;   // chroma bandwidth, unity gain at DC
  std::vector<float> bandpass_;  // the same shifted to the subcarrier, unity gain there
  std::vector<float> carrier_sin_, carrier_cos_;  // subcarrier of a line starting at phase 0
};

}  // namespace velmire::lab
