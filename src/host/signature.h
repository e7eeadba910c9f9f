// Script-function signatures ("c[ThresholdY]i[Noise]i") and the binding of a call's
// positional and named arguments to them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/interface/plugin_interface.h"

namespace velmire::host {

struct Parameter {
  std::string name;  // empty for a positional-only parameter
  char type;         // 'c' clip, 'i' int, 'f' float, 'b' bool, 's' string
  bool optional;     // written as [Name]type: may be omitted, arrives as undefined
};

using NamedArguments = std::vector<std::pair<std::string, AVSValue>>;

// Throws HostError when the signature is malformed.
std::vector<Parameter> ParseSignature(const std::string& signature);

// One value per parameter, in signature order; an omitted optional argument is undefined
// ('v'). Positional arguments fill parameters from the first on, named ones go by name
// (case-insensitive). A wrong type, an unknown or repeated name, a missing required argument
// or a surplus argument throws HostError naming the function and the argument.
std::vector<AVSValue> BindArguments(const std::string& function,
                                    const std::vector<Parameter>& parameters,
                                    const std::vector<AVSValue>& positional,
                                    const NamedArguments& named);

}  // namespace velmire::host
