#include "tool/cli/cli_options.h"

namespace velmire::cli {

std::string UsageText() {
  return R"(Usage: velmire [options] [INPUT [OUTPUT]]
       velmire --concat SEGMENT... > OUTPUT
       velmire --demo [DIR]
       velmire --demo [DIR] --sweep [--sweep-grid T:N:M[:MODE],...] [--sweep-noise SIGMA]

Removes cross-colour (the rainbow false colour that composite video leaves on fine luma
detail) from a YUV4MPEG2 stream. INPUT and OUTPUT are YUV4MPEG2 files; - or an omitted name
means standard input or standard output. Accepted: 4:2:0 (C420, C420jpeg, C420mpeg2,
C420paldv, or no C tag) and 4:2:2 (C422) at 8 bits, and C420pN and C422pN at N = 9, 10, 12,
14 or 16 bits (as ffmpeg writes them with -strict -1). Luma, the header and the FRAME lines
pass through unchanged.

Filter settings (values out of range are clamped by the filter):
  --threshold-y N   luma difference that makes a ramp steep enough to correct (0..255, default 30)
  --noise N         largest block difference accepted as a match (0..255, default 60)
  --margin N        chroma positions marked beside each steep ramp (0..4, default 1)
  --mode N          correction mode: 0 as described (default), 1 the stronger mode that also
                    averages with partners of opposite subcarrier phase (still and moving areas)
  --debug           paint the corrected positions instead of correcting them

Running:
  -j, --threads N   frames filtered at once (default: one per processor core); the output is
                    the same for every N
  --max-memory MIB  memory for the frames held at once (default 512); on large frames fewer are
                    filtered at once than -j asks, to stay within it, but always at least one
  --kernels SET     the pixel kernels to run: portable, sse2 or avx2 (x86), neon (64-bit
                    ARM) (default: the fastest this processor runs, as --version says); every
                    set gives the same bytes
  --plugin PATH     run the frames through this 2.5 plug-in library (libvelmire.so) in the
                    tool's own host instead of the built-in filter, to check a built library
                    (8-bit video only)
  --compare FRAME:FILE.png
                    also write a picture of frame FRAME (counting from 0): input, output and
                    the corrected positions side by side, enlarged around the most corrected
                    area, with the frame number, the place of the crop and the zoom
  --frames A:B      filter and write frames A to B-1 only (counted from 0; A: runs to the end),
                    each exactly as a run over the whole clip makes it: frames A-1 and B (A-2
                    to B+1 with --mode 1) are read as neighbours. A file whose FRAME lines
                    carry no parameters is entered by seeking; other input is read up to frame
                    A. A range past the end of the clip is refused
  --concat SEGMENT...
                    join segments made with --frames, in order and without gaps, into one
                    stream on standard output: the bytes of a run over the whole clip; a
                    missing, repeated or foreign segment is refused
  --progress, --no-progress
                    show frames done, speed and time left on standard error (default: on when
                    standard error is a terminal and neither standard input nor standard
                    output is a pipe)
  --demo [DIR]      build a built-in test clip with cross-colour in 4:2:2 and in 4:2:0, filter
                    both, print how much chroma error each lost, and write into DIR (default:
                    velmire-demo) the input and output clips of each (input-422.y4m,
                    output-422.y4m, input-420.y4m, output-420.y4m) and a comparison picture of
                    each (compare-422.png, compare-420.png)
  --sweep           with --demo: filter the built-in scene classes (still picture, camera
                    pan, moving object, still stripes, and real photographs: still, pan,
                    object over a still photo, a cut; NTSC and PAL) with a grid of settings
                    in both layouts and print, as Markdown tables, the chroma error left on
                    and away from detail, the share of chroma changed and the speed of each,
                    beside an unfiltered row and three baselines; the tables also go into
                    DIR/settings-sweep.md, a bar chart of the error on detail into
                    DIR/sweep-chart.svg
  --sweep-grid T:N:M[:MODE][,T:N:M[:MODE]...]
                    with --demo: sweep these combinations of ThresholdY (0..255), Noise
                    (0..255), Margin (0..4) and correction mode (0 or 1) instead of the
                    built-in grid (implies --sweep)
  --sweep-noise SIGMA
                    with --demo: add white noise of standard deviation SIGMA (0..20, 8-bit
                    steps) to the sweep's composite signal (implies --sweep)
  -h, --help        show this text
  --version         show the version

An existing OUTPUT file is replaced only when the input was read to its end (or to the last
complete frame of a broken input); after any other error it is left unchanged. Interrupted
(Ctrl-C, SIGTERM, SIGHUP), a new OUTPUT keeps the complete frames filtered so far. With
--frames, OUTPUT is written only when it holds every frame of the range, interrupted or not.

Exit status: 0 when every frame was filtered and written, 1 on an error (the message names
it), 2 for a wrong command line, 128 + the signal number when interrupted (130 for Ctrl-C).

Example (the video only: put the audio back from the source, as shown):
  ffmpeg -nostats -i in.mkv -f yuv4mpegpipe - | velmire |
    ffmpeg -i - -i in.mkv -map 0:v -map 1:a? -c:v libx264 -c:a copy out.mkv
)";
}

}  // namespace velmire::cli
