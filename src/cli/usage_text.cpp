#include "cli/cli_options.h"

namespace velmire::cli {

std::string UsageText() {
  return R"(Usage: velmire [options] [INPUT [OUTPUT]]
       velmire --demo [DIR]
       velmire --demo [DIR] --sweep [--sweep-grid T:N:M[:MODE],...]

Removes cross-colour (the rainbow false colour that composite video leaves on fine luma
detail) from a YUV4MPEG2 stream. INPUT and OUTPUT are YUV4MPEG2 files; - or an omitted name
means standard input or standard output. Accepted: 8-bit 4:2:0 (C420, C420jpeg, C420mpeg2,
C420paldv, or no C tag) and 4:2:2 (C422). Luma, the header and the FRAME lines pass through
unchanged.

Filter settings (values out of range are clamped by the filter):
  --threshold-y N   luma difference that makes a ramp steep enough to correct (0..255, default 30)
  --noise N         largest block difference accepted as a match (0..255, default 60)
  --margin N        chroma positions marked beside each steep ramp (0..4, default 1)
  --debug           paint the corrected positions instead of correcting them

Running:
  -j, --threads N   frames filtered at once (default: one per processor core); the output is
                    the same for every N
  --plugin PATH     the filter library to load (default: the one installed with this tool)
  --compare FRAME:FILE.png
                    also write a picture of frame FRAME (counting from 0): input, output and
                    the corrected positions side by side, enlarged around the most corrected area
  --progress, --no-progress
                    show frames done, speed and time left on standard error (default: on when
                    standard error is a terminal)
  --demo [DIR]      build a built-in test clip with cross-colour, filter it and write the clips,
                    a comparison picture and figures into DIR (default: velmire-demo)
  --sweep           with --demo: filter the built-in scene classes (still picture, camera
                    pan, moving object, still stripes; NTSC and PAL) with a grid of settings
                    in both layouts and print, as Markdown tables, the chroma error left, the
                    share of chroma changed and the speed of each, beside an unfiltered row and
                    two simple baselines; the tables also go into DIR/settings-sweep.md
  --sweep-grid T:N:M[:MODE][,T:N:M[:MODE]...]
                    with --demo: sweep these combinations of ThresholdY (0..255), Noise
                    (0..255), Margin (0..4) and correction mode (only 0) instead of the
                    built-in grid (implies --sweep)
  -h, --help        show this text
  --version         show the version

Exit status: 0 when every frame was filtered and written, 1 on an error (the message names
it), 2 for a wrong command line.

Example:
  ffmpeg -i in.mkv -f yuv4mpegpipe - | velmire | ffmpeg -i - -c:v libx264 out.mkv
)";
}

}  // namespace velmire::cli
