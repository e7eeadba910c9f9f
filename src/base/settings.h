// The filter's settings, as every front-end offers them: defaults, ranges and clamping are
// written here once. Out-of-range values are clamped, never refused, by the core; a front-end
// whose users expect refusals (VapourSynth) checks against the same ranges itself.
#pragma once

namespace velmire {

// One integer argument of the script function: its name as the AviSynth-style hosts spell it,
// its range and its default.
struct IntegerSetting {
  const char* name;
  int minimum;
  int maximum;
  int defaultValue;

  int Clamp(int value) const {
    return value < minimum ? minimum : value > maximum ? maximum : value;
  }
};

inline constexpr IntegerSetting kThresholdY{"ThresholdY", 0, 255, 30};
inline constexpr IntegerSetting kNoise{"Noise", 0, 255, 60};
inline constexpr IntegerSetting kMargin{"Margin", 0, 4, 1};
inline constexpr IntegerSetting kMode{"Mode", 0, 1, 0};  // 0: as described; 1: the stronger mode

struct Settings {
  int ThresholdY = kThresholdY.defaultValue;  // luma edge threshold (8-bit units)
  int Noise = kNoise.defaultValue;            // a match must differ by less (8-bit units)
  int Margin = kMargin.defaultValue;          // widening of the edge mask, chroma positions
  bool Debug = false;                         // paint the mask instead of correcting
  int Mode = kMode.defaultValue;              // correction mode

  static Settings Clamped(int thresholdY, int noise, int margin, bool debug, int mode = 0) {
    return Settings{kThresholdY.Clamp(thresholdY), kNoise.Clamp(noise), kMargin.Clamp(margin),
                    debug, kMode.Clamp(mode)};
  }
  // How many frames on either side of frame n the filter reads to make output frame n: n-1
  // and n+1, and in the stronger mode n-2 and n+2 too.
  int FramesEitherSide() const { return Mode == 1 ? 2 : 1; }

  static Settings Clamped(const Settings& s) {
    return Clamped(s.ThresholdY, s.Noise, s.Margin, s.Debug, s.Mode);
  }

  friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace velmire
