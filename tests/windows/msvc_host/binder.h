// Binds a call's arguments to a registered signature the way the frame server does: the clip
// and the positional arguments fill the parameters in order, named ones go to the parameter of
// that name (case ignored), and parameters left out stay undefined.
#pragma once

#include "../host_cases.h"
#include "interface.h"

namespace msvc {

inline constexpr int kMaxParameters = 8;

// Fills values[0..count) in signature order and returns count, or -1 (with a failed check)
// when the signature cannot be read or an argument does not fit it.
int BindArguments(const char* signature, const PClip& clip, const velmire_cases::Case& call,
                  AVSValue (&values)[kMaxParameters]);

}  // namespace msvc
