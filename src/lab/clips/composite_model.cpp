#include "lab/clips/composite_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

namespace velmire::lab {
namespace {

constexpr double kChromaBandwidthCyclesPerSample = 1.3 / 13.5;
constexpr int kHalfTaps = 10;
constexpr double kNotchPoleRadius = 0.85;

// Hamming-windowed sinc low-pass with the given cutoff, normalised to unity gain at DC.
std::vector<float> DesignLowpass(double cutoff) {
  std::vector<double> taps;
  double sum = 0.0;
  for (int n = -kHalfTaps; n <= kHalfTaps; ++n) {
    const double x = 2.0 * cutoff * n;
    const double sinc = n == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
    const double window = 0.54 + 0.46 * std::cos(std::numbers::pi * n / kHalfTaps);
    taps.push_back(sinc * window);
    sum += sinc * window;
  }
  std::vector<float> out;
  for (double t : taps) out.push_back(static_cast<float>(t / sum));
  return out;
}

// The low-pass moved up to the subcarrier: unity gain at the subcarrier frequency.
std::vector<float> ShiftToSubcarrier(const std::vector<float>& lowpass, double cycles_per_sample) {
  const double omega = 2.0 * std::numbers::pi * cycles_per_sample;
  std::vector<float> out(lowpass.size());
  for (int n = -kHalfTaps; n <= kHalfTaps; ++n) {
    const std::size_t i = std::size_t(n + kHalfTaps);
    out[i] = static_cast<float>(2.0 * std::cos(omega * n) * lowpass[i]);
  }
  return out;
}

// Symmetric FIR filter; samples past either end repeat the end sample.
std::vector<float> Filter(const std::vector<float>& in, const std::vector<float>& taps) {
  const std::size_t n = in.size();
  std::vector<float> padded(n + 2 * kHalfTaps);
  std::fill(padded.begin(), padded.begin() + kHalfTaps, in.front());
  std::copy(in.begin(), in.end(), padded.begin() + kHalfTaps);
  std::fill(padded.end() - kHalfTaps, padded.end(), in.back());
  std::vector<float> out(n, 0.0f);
  for (std::size_t k = 0; k < taps.size(); ++k) {
    const float tap = taps[k];
    const float* src = padded.data() + k;
    for (std::size_t x = 0; x < n; ++x) out[x] += tap * src[x];
  }
  return out;
}

// Second-order notch at the subcarrier (zeros on the unit circle, poles just inside it),
// run forwards and then backwards so it shifts no detail sideways. It is much narrower than
// the chroma band-pass, as in a simple notch decoder: luma detail away from the subcarrier
// stays in the luma, yet still leaks into the chroma band.
std::vector<float> Notch(const std::vector<float>& in, double cycles_per_sample) {
  const double omega = 2.0 * std::numbers::pi * cycles_per_sample;
  const double c = std::cos(omega);
  const double a1 = -2.0 * kNotchPoleRadius * c, a2 = kNotchPoleRadius * kNotchPoleRadius;
  const double gain = (1.0 + a1 + a2) / (2.0 - 2.0 * c);  // unity gain at DC
  const double b0 = gain, b1 = -2.0 * c * gain, b2 = gain;
  std::vector<double> signal(in.begin(), in.end());
  for (int pass = 0; pass < 2; ++pass) {
    // Start in the steady state of the first sample, so the line ends do not ring.
    double x1 = signal.front(), x2 = signal.front(), y1 = signal.front(), y2 = signal.front();
    for (double& sample : signal) {
      const double x0 = sample;
      const double y0 = b0 * x0 + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = x0, y2 = y1, y1 = y0;
      sample = y0;
    }
    std::reverse(signal.begin(), signal.end());
  }
  return std::vector<float>(signal.begin(), signal.end());
}

// Synchronous demodulation: the band-passed signal times twice the carrier, low-passed.
std::vector<float> Demodulate(const std::vector<float>& band, const std::vector<float>& carrier,
                              float sign, const std::vector<float>& lowpass) {
  std::vector<float> product(band.size());
  for (std::size_t i = 0; i < band.size(); ++i) product[i] = 2.0f * sign * band[i] * carrier[i];
  return Filter(product, lowpass);
}

// cos and sin of a phase given in cycles; exact at the quarter turns NTSC and PAL use most.
std::pair<double, double> CosSin(double cycles) {
  const double quarters = cycles * 4.0;
  if (quarters == std::floor(quarters)) {
    constexpr double kCos[] = {1.0, 0.0, -1.0, 0.0};
    const int q = static_cast<int>(quarters) & 3;
    return {kCos[q], kCos[(q + 3) & 3]};
  }
  const double angle = 2.0 * std::numbers::pi * cycles;
  return {std::cos(angle), std::sin(angle)};
}

// Adds white noise of standard deviation `sigma`: the sum of four uniform numbers from a hash
// of frame, line and sample (close to Gaussian), so every run gives the same pattern.
void AddNoise(std::vector<float>& signal, float sigma, int line, int frame) {
  // Four uniforms on [0, 1) have variance 4/12; scale to unit variance.
  const float scale = sigma * std::sqrt(3.0f);
  for (std::size_t x = 0; x < signal.size(); ++x) {
    std::uint64_t h = (std::uint64_t(std::uint32_t(frame)) << 40) ^
                      (std::uint64_t(std::uint32_t(line)) << 20) ^ std::uint64_t(x);
    float sum = 0.0f;
    for (int k = 0; k < 4; ++k) {
      h = h * 6364136223846793005ull + 1442695040888963407ull;  // a 64-bit LCG step
      const std::uint64_t mixed = (h ^ (h >> 29)) * 0xbf58476d1ce4e5b9ull;
      sum += float(mixed >> 40) * (1.0f / 16777216.0f);
    }
    signal[x] += scale * (sum - 2.0f);
  }
}

}  // namespace

CompositeModel::CompositeModel(int width, VideoStandard standard, float noise_sigma)
    : width_(width),
      standard_(standard),
      noise_sigma_(noise_sigma),
      cycles_per_sample_(SubcarrierCyclesPerSample(standard)),
      lowpass_(DesignLowpass(kChromaBandwidthCyclesPerSample)),
      bandpass_(ShiftToSubcarrier(lowpass_, cycles_per_sample_)),
      carrier_sin_(std::size_t(width)),
      carrier_cos_(std::size_t(width)) {
  const double omega = 2.0 * std::numbers::pi * cycles_per_sample_;
  for (int x = 0; x < width; ++x) {
    carrier_sin_[std::size_t(x)] = static_cast<float>(std::sin(omega * x));
    carrier_cos_[std::size_t(x)] = static_cast<float>(std::cos(omega * x));
  }
}

DecodedLine CompositeModel::EncodeDecode(const float* y, const float* u, const float* v,
                                         int line, int frame) const {
  const std::size_t n = std::size_t(width_);
  // The line's carrier: the phase-0 carrier turned by the line's phase. The decoder recovers
  // the same phase (and the V switch) from the colour burst.
  const LinePhase phase = SubcarrierPhase(standard_, frame, line);
  const auto [c, s] = CosSin(phase.cycles);
  const float v_sign = phase.v_inverted ? -1.0f : 1.0f;
  std::vector<float> carrier_sin(n), carrier_cos(n);
  for (std::size_t x = 0; x < n; ++x) {
    carrier_sin[x] = static_cast<float>(carrier_sin_[x] * c + carrier_cos_[x] * s);
    carrier_cos[x] = static_cast<float>(carrier_cos_[x] * c - carrier_sin_[x] * s);
  }
  std::vector<float> luma(y, y + n), chroma(n), composite(n);
  if (noise_sigma_ > 0.0f) AddNoise(luma, noise_sigma_, line, frame);
  for (std::size_t x = 0; x < n; ++x) {
    chroma[x] = u[x] * carrier_sin[x] + v_sign * v[x] * carrier_cos[x];
    composite[x] = luma[x] + chroma[x];
  }
  // The system is linear, so the chroma path is worked out for the luma's and the chroma's
  // shares apart: the chroma's share alone is the clean result, the luma's share is the
  // cross-colour.
  const std::vector<float> luma_band = Filter(luma, bandpass_);
  const std::vector<float> chroma_band = Filter(chroma, bandpass_);

  DecodedLine out;
  out.y = Notch(composite, cycles_per_sample_);
  // Demodulation leaves a small ripple at twice the subcarrier that turns with its phase; it
  // is the decoder's, not the picture's, so the clean chroma is free of it: the mean of the
  // chroma decoded at the line's phase and a quarter cycle on, where the ripple is opposite.
  std::vector<float> quarter(n);
  for (std::size_t x = 0; x < n; ++x) {
    quarter[x] = u[x] * carrier_cos[x] - v_sign * v[x] * carrier_sin[x];
  }
  const std::vector<float> quarter_band = Filter(quarter, bandpass_);
  out.clean_u = Demodulate(chroma_band, carrier_sin, 1.0f, lowpass_);
  out.clean_v = Demodulate(chroma_band, carrier_cos, v_sign, lowpass_);
  const std::vector<float> quarter_u = Demodulate(quarter_band, carrier_cos, 1.0f, lowpass_);
  const std::vector<float> quarter_v = Demodulate(quarter_band, carrier_sin, -v_sign, lowpass_);
  for (std::size_t x = 0; x < n; ++x) {
    out.clean_u[x] = 0.5f * (out.clean_u[x] + quarter_u[x]);
    out.clean_v[x] = 0.5f * (out.clean_v[x] + quarter_v[x]);
  }
  const std::vector<float> cross_u = Demodulate(luma_band, carrier_sin, 1.0f, lowpass_);
  const std::vector<float> cross_v = Demodulate(luma_band, carrier_cos, v_sign, lowpass_);
  out.u.resize(n);
  out.v.resize(n);
  for (std::size_t x = 0; x < n; ++x) {
    out.u[x] = out.clean_u[x] + cross_u[x];
    out.v[x] = out.clean_v[x] + cross_v[x];
  }
  return out;
}

}  // namespace velmire::lab
