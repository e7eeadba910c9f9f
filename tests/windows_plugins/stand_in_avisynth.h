// A stand-in avisynth.dll for the load test. It exports every function name AviSynth+'s C
// interface header loads, so the plug-in's run-time loading finds them all; avs_add_function
// records its call, and any other function fails the test. StandInCalls gives the record.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdlib>
#define AVSC_NO_DECLSPEC
#include <avisynth_c.h>

// One line a call: "avs_add_function NAME PARAMS", and " (no callback)" when it had none.
using StandInCallsFunc = const char*(__cdecl*)();
