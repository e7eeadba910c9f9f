// The host's uses of the registered function: building filters on its own source clips,
// asking them for frames and letting them go, and a creation the filter must refuse.
#pragma once

#include "../host_cases.h"
#include "environment.h"
#include "expected_frames.h"
#include "frame_store.h"

namespace msvc {

// Creates the filter for one case, checks its format, its pass-through slots and the frames
// it gives against the Linux build's, then releases it and checks that it released its input.
void RunFilterCase(TestEnvironment& env, const Registration& function,
                   const velmire_cases::Case& call, ExpectedFrames& expected, FrameStore& frames);

// Creates the filter on an RGB32 clip and checks that the host's error comes back with the
// format message and that nothing was kept.
void RunFormatRefusal(TestEnvironment& env, const Registration& function, FrameStore& frames);

}  // namespace msvc
