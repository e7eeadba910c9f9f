// The frames one pass works with: frame n as fetched (read only), a writable copy of it (the
// output), and its neighbours n-1 and n+1 (read only).
#pragma once

#include "host/interface/plugin_interface.h"

namespace velmire {

struct PassFrames {
  PVideoFrame source;
  PVideoFrame output;
  PVideoFrame previous;
  PVideoFrame next;
};

// n-1 and n+1 without overflow at the ends of the frame-number range.
int PreviousFrameNumber(int n);
int NextFrameNumber(int n);

// Fetches frame n, makes a second handle to it writable (always a new copy, since the first
// handle still holds the frame), then fetches n-1 and n+1. Refuses, through the host's error,
// a missing frame or neighbours whose size differs from frame n's, releasing every handle
// first. `planar` selects which planes must agree.
PassFrames AcquirePassFrames(const PClip& child, int n, bool planar, IScriptEnvironment* env);

}  // namespace velmire
