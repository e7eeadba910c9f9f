// The clips the benchmark filters: frame formats (YUY2, planar 4:2:0 and 4:2:2 at 8 and 10
// bits), each with three contents, held in memory as the frame servers hold them (planes with
// rows aligned to 64 bytes).
#pragma once

#include <cstdint>
#include <vector>

#include "base/frame_view.h"

namespace velmire::bench {

struct BenchFormat {
  const char* name;
  SampleFormat format;
  int width;
  int height;
};

// YUY2 and planar 4:2:2 of the same pictures, 4:2:0 at two sizes, and 10-bit versions of the
// planar ones (the 8-bit pictures shifted up, so the filter decides the same at both depths).
const std::vector<BenchFormat>& BenchFormats();

enum class Content {
  kFlat,     // one grey everywhere: no marks, the pass is mask building and the copy
  kNatural,  // the demo clip: fine detail with cross-colour next to flat areas
  kDense,    // random pixels: nearly every block marked and searched
};

const char* ContentName(Content content);
inline constexpr Content kContents[] = {Content::kFlat, Content::kNatural, Content::kDense};

// One frame's planes in a buffer of its own.
class BenchFrame {
 public:
  BenchFrame(const BenchFormat& format);
  FrameView View() const;
  WritableFrameView WritableView();
  // Copies every plane of `source` (same format) into this frame, row by row.
  void CopyFrom(const BenchFrame& source);

 private:
  struct Plane {
    size_t offset;
    ptrdiff_t pitch;
    int rowSize;
    int height;
  };
  std::vector<uint8_t> bytes_;
  std::vector<Plane> planes_;  // one (YUY2) or three
};

inline constexpr int kClipFrames = 4;
std::vector<BenchFrame> MakeBenchClip(const BenchFormat& format, Content content);

}  // namespace velmire::bench
