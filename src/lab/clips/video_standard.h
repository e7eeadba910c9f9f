// The two analog colour standards the demo models, NTSC (525 lines, 29.97 frames a second)
// and PAL (625 lines, 25 frames a second): how a frame's lines are scanned as two interlaced
// fields, and where the colour subcarrier stands on each line.
//
// Lines are scanned at a steady rate and a field lasts a whole number of lines plus a half,
// so the beam starts each field half a line apart and the two fields' lines interleave. The
// second-field line scanned 262 lines (PAL: 312) after a first-field line lies just above it,
// the one scanned 263 lines (PAL: 313) after lies just below it. Active pictures of 480 lines
// (NTSC) begin with a line of the later field, so their first field in time is the bottom one;
// 576-line PAL pictures begin with a line of the earlier field, so theirs is the top one.
//
// NTSC's subcarrier makes 227.5 cycles per line: it turns half a cycle from one line to the
// next in scanning order, so it flips between consecutive lines of a field and, over the odd
// 525 lines of a frame, between consecutive frames at the same place. Neighbouring frame lines
// are 262 or 263 lines apart in time, so they alternate between equal and opposite phase.
//
// PAL's subcarrier makes 283.75 cycles per line plus one cycle per frame (the 25 Hz offset),
// and the sign of V is switched from one line to the next; the phase turns three quarters of a
// cycle per frame at the same place and the V switch flips, so the pattern repeats after four
// frames.
#pragma once

#include <string>

namespace velmire::lab {

enum class VideoStandard { kNtsc, kPal };

inline constexpr VideoStandard kVideoStandards[] = {VideoStandard::kNtsc, VideoStandard::kPal};

const char* StandardName(VideoStandard standard);  // "NTSC" or "PAL"

// Active picture lines per frame: 480 or 576.
int PictureLines(VideoStandard standard);

// Subcarrier cycles per sample at 13.5 MHz sampling (858 samples per NTSC line, 864 per PAL).
double SubcarrierCyclesPerSample(VideoStandard standard);

// When the field of frame line `frame_line` (counted from 0 at the top of the picture) is
// scanned, in frames after the frame's first field: 0 or 0.5.
double FieldTime(VideoStandard standard, int frame_line);

// Where the subcarrier stands at the first sample of a frame line.
struct LinePhase {
  double cycles = 0.0;      // 0 up to 1
  bool v_inverted = false;  // PAL's V switch
};

// The phase of line `frame_line` of frame `frame` (frames counted from 0).
LinePhase SubcarrierPhase(VideoStandard standard, int frame, int frame_line);

// Frames after which the phase of every line comes round again: 2 for NTSC, 4 for PAL.
int PhaseSequenceFrames(VideoStandard standard);

// The YUV4MPEG2 tags for frame rate, field order and pixel aspect of a 720-sample-wide
// picture of the standard (BT.601: 10:11 for NTSC, 12:11 for PAL).
std::string Y4mTimingTags(VideoStandard standard);

}  // namespace velmire::lab
