#include "lab/clips/video_standard.h"

#include <cstdint>

namespace velmire::lab {
namespace {

constexpr std::int64_t kNtscLines = 525;
constexpr std::int64_t kPalLines = 625;

bool BottomFieldFirst(VideoStandard standard) { return standard == VideoStandard::kNtsc; }

// Lines scanned from the first line of frame 0's first field up to frame line `frame_line`
// of frame `frame`.
std::int64_t ScanLine(VideoStandard standard, int frame, int frame_line) {
  const std::int64_t per_frame = standard == VideoStandard::kNtsc ? kNtscLines : kPalLines;
  const std::int64_t k = frame_line / 2;  // line within its field
  const bool top = frame_line % 2 == 0;
  std::int64_t in_frame = k;
  if (BottomFieldFirst(standard)) {
    if (top) in_frame += per_frame / 2;  // just above bottom line k: 262 lines later
  } else if (!top) {
    in_frame += per_frame / 2 + 1;  // just below top line k: 313 lines later
  }
  return per_frame * frame + in_frame;
}

}  // namespace

const char* StandardName(VideoStandard standard) {
  return standard == VideoStandard::kNtsc ? "NTSC" : "PAL";
}

int PictureLines(VideoStandard standard) { return standard == VideoStandard::kNtsc ? 480 : 576; }

double SubcarrierCyclesPerSample(VideoStandard standard) {
  if (standard == VideoStandard::kNtsc) return 227.5 / 858.0;
  return (283.75 + 1.0 / 625.0) / 864.0;
}

double FieldTime(VideoStandard standard, int frame_line) {
  const bool top = frame_line % 2 == 0;
  return top == BottomFieldFirst(standard) ? 0.5 : 0.0;
}

LinePhase SubcarrierPhase(VideoStandard standard, int frame, int frame_line) {
  const std::int64_t s = ScanLine(standard, frame, frame_line);
  if (standard == VideoStandard::kNtsc) return LinePhase{s % 2 == 0 ? 0.0 : 0.5, false};
  // 283.75 + 1/625 cycles per line: the whole cycles drop out, leaving 3/4 per line (which
  // repeats after four lines) and 1/625 per line (which repeats after a frame).
  const double cycles = 0.75 * double(s % 4) + double(s % kPalLines) / double(kPalLines);
  return LinePhase{cycles - double(static_cast<int>(cycles)), s % 2 != 0};
}

int PhaseSequenceFrames(VideoStandard standard) {
  return standard == VideoStandard::kNtsc ? 2 : 4;
}

std::string Y4mTimingTags(VideoStandard standard) {
  return standard == VideoStandard::kNtsc ? "F30000:1001 Ib A10:11" : "F25:1 It A12:11";
}

}  // namespace velmire::lab
