#include "plugin/pass_frames.h"

#include <climits>

#include "plugin/filter.h"

namespace velmire {
namespace {

bool SameSize(const VideoFrame& a, const VideoFrame& b, bool planar) {
  if (a.GetRowSize() != b.GetRowSize() || a.GetHeight() != b.GetHeight()) return false;
  if (!planar) return true;
  return a.GetRowSize(PLANAR_U) == b.GetRowSize(PLANAR_U) &&
         a.GetHeight(PLANAR_U) == b.GetHeight(PLANAR_U);
}

}  // namespace

int PreviousFrameNumber(int n) { return n == INT_MIN ? n : n - 1; }
int NextFrameNumber(int n) { return n == INT_MAX ? n : n + 1; }

PassFrames AcquirePassFrames(const PClip& child, int n, bool planar, IScriptEnvironment* env) {
  PassFrames frames;
  frames.source = child->GetFrame(n, env);
  frames.output = frames.source;
  if (frames.output) env->MakeWritable(&frames.output);
  frames.previous = child->GetFrame(PreviousFrameNumber(n), env);
  frames.next = child->GetFrame(NextFrameNumber(n), env);

  const bool present = frames.source && frames.output && frames.previous && frames.next;
  if (!present) {
    frames = PassFrames{};
    env->ThrowError("%s : the input clip gave no frame for %d", kFunctionName, n);
  }
  const bool planarOk = !planar || (frames.source->GetPitch(PLANAR_U) != 0 &&
                                    frames.previous->GetPitch(PLANAR_U) != 0 &&
                                    frames.next->GetPitch(PLANAR_U) != 0);
  if (!planarOk || !SameSize(*frames.source, *frames.previous, planar) ||
      !SameSize(*frames.source, *frames.next, planar)) {
    frames = PassFrames{};
    env->ThrowError("%s : frames differ in size", kFunctionName);
  }
  return frames;
}

}  // namespace velmire
