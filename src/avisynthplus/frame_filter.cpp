#include "avisynthplus/frame_filter.h"

#include <new>
#include <thread>

#include "core/cross_color.h"
#include "core/plane_views.h"

namespace velmire::avisynthplus {
namespace {

// AviSynth+'s plane for the core's plane index: the packed plane, or Y, U and V.
int AvsPlane(const SampleFormat& format, int index) {
  constexpr int kPlanarPlanes[3] = {AVS_PLANAR_Y, AVS_PLANAR_U, AVS_PLANAR_V};
  return format.layout == Layout::kYUY2 ? AVS_DEFAULT_PLANE : kPlanarPlanes[index];
}

PlaneView ReadPlane(const AVS_VideoFrame* frame, int plane) {
  return PlaneView{avs_get_read_ptr_p(frame, plane), avs_get_pitch_p(frame, plane),
                   avs_get_row_size_p(frame, plane), avs_get_height_p(frame, plane)};
}

// The planes the filter reads: Y, U and V, or the packed plane alone.
FrameView ReadFrame(const AVS_VideoFrame* frame, const SampleFormat& format) {
  return ViewFrame(format, [&](int i) { return ReadPlane(frame, AvsPlane(format, i)); });
}

// The output holds a copy of every plane of `source` (AviSynth+ frames share no planes).
WritableFrameView CopyFrame(const AVS_VideoFrame* source, AVS_VideoFrame* output,
                            const SampleFormat& format) {
  return ViewWritableFrame(format, [&](int i) {
    const int plane = AvsPlane(format, i);
    return CopyPlane(ReadPlane(source, plane),
                     {avs_get_write_ptr_p(output, plane), avs_get_pitch_p(output, plane)});
  });
}

// Reports an error through the filter's error field (AviSynth+ raises it as the script error),
// releasing the frames taken so far.
AVS_VideoFrame* Fail(AVS_FilterInfo* fi, const char* error, AVS_VideoFrame* const (&frames)[5]) {
  for (AVS_VideoFrame* frame : frames) {
    if (frame) avs_release_video_frame(frame);
  }
  fi->error = error;
  return nullptr;
}

// Frame n of the input clip, or null with its error. AviSynth+'s frame cache can hand a thread
// an empty frame, without an error, while another thread's failed fetch of that frame is being
// taken over by a third; asked again, the cache waits for that fetch and reports its error.
AVS_VideoFrame* FetchFrame(AVS_Clip* child, int n, const char** error) {
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (AVS_VideoFrame* frame = avs_get_frame(child, n)) return frame;
    if (const char* message = avs_clip_get_error(child)) {
      *error = message;
      return nullptr;
    }
    std::this_thread::yield();
  }
  *error = "Velmire : the input clip gave no frame";
  return nullptr;
}

}  // namespace

AVS_VideoFrame* AVSC_CC GetFilteredFrame(AVS_FilterInfo* fi, int n) {
  const auto& filter = *static_cast<const FrameFilter*>(fi->user_data);
  const SampleFormat& format = filter.format;

  // Frames n-2 .. n+2, of which n-1 .. n+1 alone when the filter reads one on either side.
  AVS_VideoFrame* inputs[5] = {};
  const int side = filter.settings.FramesEitherSide();
  for (int i = 2 - side; i <= 2 + side; ++i) {
    const char* error = nullptr;
    inputs[i] = FetchFrame(fi->child, n - 2 + i, &error);
    if (!inputs[i]) return Fail(fi, error, inputs);
  }
  AVS_VideoFrame* const current = inputs[2];
  AVS_VideoFrame* output = avs_new_video_frame_p(fi->env, &fi->vi, current);
  if (!output) {
    const char* error = avs_get_error(fi->env);
    return Fail(fi, error ? error : "Velmire : no memory for a frame", inputs);
  }

  const char* error = nullptr;
  try {
    OuterFrames outer;
    const bool outerExist = inputs[0] && n >= 2 && n + 2 < fi->vi.num_frames;
    if (outerExist) outer = {ReadFrame(inputs[0], format), ReadFrame(inputs[4], format)};
    ReduceCrossColor(format, filter.settings, *filter.kernels, ReadFrame(inputs[1], format),
                     ReadFrame(current, format), ReadFrame(inputs[3], format),
                     CopyFrame(current, output, format), outerExist ? &outer : nullptr);
  } catch (const std::bad_alloc&) {
    error = "Velmire : not enough memory to filter a frame";
  }
  if (error) {
    avs_release_video_frame(output);
    return Fail(fi, error, inputs);
  }
  for (AVS_VideoFrame* frame : inputs) {
    if (frame) avs_release_video_frame(frame);
  }
  return output;
}

int AVSC_CC AnswerCacheHints(AVS_FilterInfo*, int cachehints, int) {
  return cachehints == AVS_CACHE_GET_MTMODE ? AVS_MT_MULTI_INSTANCE : 0;
}

void AVSC_CC FreeFrameFilter(AVS_FilterInfo* fi) {
  delete static_cast<FrameFilter*>(fi->user_data);
  fi->user_data = nullptr;
}

}  // namespace velmire::avisynthplus
