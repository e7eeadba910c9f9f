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

// The frames a request reads, in the order previous, current, next.
struct Neighbours {
  int previous, current, next;
};

Neighbours ClampedNeighbours(int n, int lastFrame) {
  return Neighbours{std::max(n - 1, 0), n, std::min(n + 1, lastFrame)};
}

}  // namespace

const VSFrame* VS_CC GetFilteredFrame(int n, int activationReason, void* instanceData, void**,
                                      VSFrameContext* frameCtx, VSCore* core,
                                      const VSAPI* vsapi) {
  const auto& filter = *static_cast<const FrameFilter*>(instanceData);
  const Neighbours frames = ClampedNeighbours(n, filter.lastFrame);

  if (activationReason == arInitial) {
    vsapi->requestFrameFilter(frames.previous, filter.clip, frameCtx);
    if (frames.current != frames.previous) {
      vsapi->requestFrameFilter(frames.current, filter.clip, frameCtx);
    }
    if (frames.next != frames.current) {
      vsapi->requestFrameFilter(frames.next, filter.clip, frameCtx);
    }
    return nullptr;
  }
  if (activationReason != arAllFramesReady) return nullptr;

  const VSFrame* previous = vsapi->getFrameFilter(frames.previous, filter.clip, frameCtx);
  const VSFrame* current = vsapi->getFrameFilter(frames.current, filter.clip, frameCtx);
  const VSFrame* next = vsapi->getFrameFilter(frames.next, filter.clip, frameCtx);

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
    ReduceCrossColor(format, filter.settings, *filter.kernels,
                     ReadFrame(previous, format, bytesPerSample, *vsapi),
                     ReadFrame(current, format, bytesPerSample, *vsapi),
                     ReadFrame(next, format, bytesPerSample, *vsapi), outputView);
  } catch (const std::bad_alloc&) {
    error = "Velmire: not enough memory to filter a frame";
  }
  vsapi->freeFrame(previous);
  vsapi->freeFrame(current);
  vsapi->freeFrame(next);
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
