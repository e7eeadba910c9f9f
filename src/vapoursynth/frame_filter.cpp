#include "vapoursynth/frame_filter.h"

#include <algorithm>
#include <new>

#include "core/cross_color.h"
#include "core/plane_views.h"

namespace velmire::vapoursynth {
namespace {

PlaneView ReadPlane(const VSFrame* frame, int plane, int bytesPerSample, const VSAPI& vsapi) {
  return PlaneView{vsapi.getReadPtr(frame, plane), vsapi.getStride(frame, plane),
                   vsapi.getFrameWidth(frame, plane) * bytesPerSample,
                   vsapi.getFrameHeight(frame, plane)};
}

// VapourSynth allows clips of odd size in subsampled formats, whose chroma planes cover the
// even-sized picture at their top left (3x2 chroma for 7x5 at 4:2:0). The filter reads that
// picture alone, as the tool filters a clip cropped to even size: the last luma column or row
// passes through unchanged, as all luma does.
FrameView ReadFrame(const VSFrame* frame, const SampleFormat& format, int bytesPerSample,
                    const VSAPI& vsapi) {
  FrameView view = ViewFrame(
      format, [&](int plane) { return ReadPlane(frame, plane, bytesPerSample, vsapi); });
  view.y.rowSize = view.u.rowSize * 2;
  view.y.height = format.layout == Layout::kPlanar420 ? view.u.height * 2 : view.u.height;
  return view;
}

// A chroma plane of the output, filled with a copy of the same plane of `source`.
WritablePlaneView CopyChroma(const VSFrame* source, VSFrame* output, int plane,
                             int bytesPerSample, const VSAPI& vsapi) {
  return CopyPlane(ReadPlane(source, plane, bytesPerSample, vsapi),
                   {vsapi.getWritePtr(output, plane), vsapi.getStride(output, plane)});
}

// The frames a request reads: n-2 .. n+2 clamped to the clip, of which frames n-1 .. n+1
// alone when the filter reads one frame on either side.
struct Neighbours {
  int frame[5];  // [n-2, n-1, n, n+1, n+2]
  int first, last;  // the indices of frame[] read
};

Neighbours ClampedNeighbours(int n, int lastFrame, int framesEitherSide) {
  Neighbours frames{};
  for (int i = 0; i < 5; ++i) frames.frame[i] = std::clamp(n - 2 + i, 0, lastFrame);
  frames.first = 2 - framesEitherSide;
  frames.last = 2 + framesEitherSide;
  return frames;
}

}  // namespace

const VSFrame* VS_CC GetFilteredFrame(int n, int activationReason, void* instanceData, void**,
                                      VSFrameContext* frameCtx, VSCore* core,
                                      const VSAPI* vsapi) {
  const auto& filter = *static_cast<const FrameFilter*>(instanceData);
  const Neighbours frames =
      ClampedNeighbours(n, filter.lastFrame, filter.settings.FramesEitherSide());

  if (activationReason == arInitial) {
    // Clamped frames repeat only next to each other: each is asked for once.
    for (int i = frames.first; i <= frames.last; ++i) {
      if (i == frames.first || frames.frame[i] != frames.frame[i - 1]) {
        vsapi->requestFrameFilter(frames.frame[i], filter.clip, frameCtx);
      }
    }
    return nullptr;
  }
  if (activationReason != arAllFramesReady) return nullptr;

  const VSFrame* inputs[5] = {};
  for (int i = frames.first; i <= frames.last; ++i) {
    inputs[i] = vsapi->getFrameFilter(frames.frame[i], filter.clip, frameCtx);
  }
  const VSFrame* previous = inputs[1];
  const VSFrame* current = inputs[2];
  const VSFrame* next = inputs[3];

  // Luma and properties come from frame n as they are; the chroma planes are new.
  const VSFrame* planeSources[3] = {current, nullptr, nullptr};
  const int planes[3] = {0, 1, 2};
  VSFrame* output = vsapi->newVideoFrame2(vsapi->getVideoFrameFormat(current),
                                          vsapi->getFrameWidth(current, 0),
                                          vsapi->getFrameHeight(current, 0), planeSources, planes,
                                          current, core);
  // The core never writes planar luma: the output's luma is handed over as frame n's, shared
  // and read-only (asking for a write pointer would make VapourSynth copy the plane).
  const int bytesPerSample = vsapi->getVideoFrameFormat(current)->bytesPerSample;
  const PlaneView luma = ReadFrame(current, filter.format, bytesPerSample, *vsapi).y;
  const WritableFrameView outputView{
      {const_cast<uint8_t*>(luma.data), luma.pitch, luma.rowSize, luma.height},
      CopyChroma(current, output, 1, bytesPerSample, *vsapi),
      CopyChroma(current, output, 2, bytesPerSample, *vsapi)};

  const char* error = nullptr;
  try {
    const SampleFormat& format = filter.format;
    OuterFrames outer;
    const bool outerExist = inputs[0] && n >= 2 && n + 2 <= filter.lastFrame;
    if (outerExist) {
      outer = {ReadFrame(inputs[0], format, bytesPerSample, *vsapi),
               ReadFrame(inputs[4], format, bytesPerSample, *vsapi)};
    }
    ReduceCrossColor(format, filter.settings, *filter.kernels,
                     ReadFrame(previous, format, bytesPerSample, *vsapi),
                     ReadFrame(current, format, bytesPerSample, *vsapi),
                     ReadFrame(next, format, bytesPerSample, *vsapi), outputView,
                     outerExist ? &outer : nullptr);
  } catch (const std::bad_alloc&) {
    error = "Velmire: not enough memory to filter a frame";
  }
  for (const VSFrame* input : inputs) {
    if (input) vsapi->freeFrame(input);
  }
  if (error) {
    vsapi->freeFrame(output);
    vsapi->setFilterError(error, frameCtx);
    return nullptr;
  }
  return output;
}

void VS_CC FreeFrameFilter(void* instanceData, VSCore*, const VSAPI* vsapi) {
  auto* filter = static_cast<FrameFilter*>(instanceData);
  vsapi->freeNode(filter->clip);
  delete filter;
}

}  // namespace velmire::vapoursynth
