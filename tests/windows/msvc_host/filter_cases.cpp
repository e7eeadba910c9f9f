#include "filter_cases.h"

#include "binder.h"
#include "checks.h"
#include "frame_compare.h"
#include "source_clip.h"

namespace msvc {
namespace {

VideoInfo SourceInfo(int pixelType, int width, int height, int frames) {
  VideoInfo vi;
  memset(&vi, 0, sizeof vi);
  vi.width = width;
  vi.height = height;
  vi.fps_numerator = 25;
  vi.fps_denominator = 1;
  vi.num_frames = frames;
  vi.pixel_type = pixelType;
  vi.image_type = 2;  // top field first
  return vi;
}

bool Contains(const velmire_cases::Case& call, int frame) {
  for (int i = 0; i < call.requestCount; ++i)
    if (call.requests[i] == frame) return true;
  return false;
}

// Slots 0 and 2 to 5 of the filter: version, and parity, audio and format passed through.
void CheckPassThrough(IClip& filter, SourceClip& source, IScriptEnvironment& env,
                      const char* title) {
  Check(filter.GetVersion() == AVISYNTH_INTERFACE_VERSION, "%s: interface version", title);
  const VideoInfo& vi = filter.GetVideoInfo();
  Check(memcmp(&vi, &source.GetVideoInfo(), sizeof vi) == 0,
        "%s: the filter's format differs from its input's", title);
  Check(filter.GetParity(1) == source.GetParity(1), "%s: parity not passed through", title);
  filter.SetCacheHints(0, 0);
  char audio[16];
  filter.GetAudio(audio, 0x100000002LL, 3, &env);
  Check(source.AudioStart() == 0x100000002LL && source.AudioCount() == 3,
        "%s: audio range not passed through intact", title);
}

}  // namespace

void RunFilterCase(TestEnvironment& env, const Registration& function,
                   const velmire_cases::Case& call, ExpectedFrames& expected, FrameStore& frames) {
  printf("case: %s\n", call.title);
  const VideoInfo vi = SourceInfo(call.pixelType, call.width, call.height, call.frames);
  SourceClip* source = new SourceClip(vi, frames);
  PClip input(source);
  PClip filter;
  {
    AVSValue arguments[kMaxParameters];
    const int count = BindArguments(function.params, input, call, arguments);
    if (count < 0) return;
    AVSValue result = function.apply(AVSValue(arguments, count), function.user_data, &env);
    Check(result.IsClip(), "%s: the function returned a value of type '%c'", call.title,
          result.Type());
    filter = result.AsClip();
  }
  if (!filter.get()) return;
  Check(filter->References() == 1, "%s: the new filter holds %ld references, not 1", call.title,
        filter->References());
  Check(source->References() == 2, "%s: the filter holds %ld references to its input, not 1",
        call.title, source->References() - 1);
  input = PClip();  // from here on only the filter keeps the source alive

  CheckPassThrough(*filter.get(), *source, env, call.title);
  for (int i = 0; i < call.requestCount; ++i) {
    const int n = call.requests[i];
    char what[160];
    FormatText(what, sizeof what, "%s, frame %d", call.title, n);
    PVideoFrame frame = filter->GetFrame(n, &env);
    unsigned size = 0;
    const unsigned char* bytes = expected.Next(&size);
    if (!frame.get() || !bytes) {
      Check(false, "%s: %s", what, frame.get() ? "no expected frame left" : "no frame");
      continue;
    }
    CheckFrameBytes(*frame.get(), bytes, size, what);
    Check(FrameStore::PaddingIntact(*frame.get()), "%s: bytes past the rows were written", what);
    PVideoFrame input_frame = source->GetFrame(n, &env);
    printf("  frame %d: %d chroma bytes changed\n", n,
           ChangedChromaBytes(*frame.get(), *input_frame.get(), call.pixelType == CS_YUY2));
  }
  Check(source->FramesIntact(), "%s: the filter wrote into its input frames", call.title);
  if (Contains(call, 0))
    Check(source->LowestRequest() == -1, "%s: frame 0 did not ask the input for frame -1",
          call.title);
  if (Contains(call, call.frames - 1))
    Check(source->HighestRequest() == call.frames,
          "%s: the last frame did not ask the input for the one after it", call.title);

  const int liveSources = SourceClip::Live();
  filter = PClip();  // the last reference: the filter is destroyed through its table
  Check(SourceClip::Live() == liveSources - 1,
        "%s: releasing the filter did not release its input clip", call.title);
  Check(frames.Held() == 0, "%s: %d frames still held after the filter was released", call.title,
        frames.Held());
}

void RunFormatRefusal(TestEnvironment& env, const Registration& function, FrameStore& frames) {
  printf("case: RGB32 refused\n");
  SourceClip* source = new SourceClip(SourceInfo(CS_BGR32, 32, 8, 2), frames);
  PClip input(source);
  const char* message = nullptr;
  {
    AVSValue arguments[kMaxParameters];
    const velmire_cases::Case call = {"RGB32", CS_BGR32, 32, 8, 2, 0, {}, 0, {}};
    const int count = BindArguments(function.params, input, call, arguments);
    if (count < 0) return;
    try {
      AVSValue result = function.apply(AVSValue(arguments, count), function.user_data, &env);
      Check(false, "RGB32: the function returned a value of type '%c'", result.Type());
    } catch (const ScriptError& error) {
      message = error.msg;
    }
    Check(source->References() == 2, "RGB32: %ld references to the clip after the error, not 2",
          source->References());
  }
  Check(message && strcmp(message, "Velmire : YUY2, YV12 only") == 0,
        "RGB32: the error is \"%s\"", message ? message : "(none)");
  const int liveSources = SourceClip::Live();
  input = PClip();
  Check(SourceClip::Live() == liveSources - 1, "RGB32: the clip outlived its last reference");
  Check(frames.Held() == 0, "RGB32: %d frames still held", frames.Held());
}

}  // namespace msvc
