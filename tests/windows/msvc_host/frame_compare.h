// Compares a frame with the packed bytes of the expected-frames file (planes Y, U, V, rows
// without padding).
#pragma once

#include "interface.h"

namespace msvc {

// Checks that the frame holds exactly `expected`; `what` names the frame in a failure.
void CheckFrameBytes(const VideoFrame& frame, const unsigned char* expected, unsigned size,
                     const char* what);

// Bytes of the chroma (U and V) that differ between two frames of the same geometry.
int ChangedChromaBytes(const VideoFrame& a, const VideoFrame& b, bool yuy2);

}  // namespace msvc
