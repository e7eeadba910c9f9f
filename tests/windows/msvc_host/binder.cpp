#include "binder.h"

#include "checks.h"

namespace msvc {
namespace {

struct Parameter {
  const char* name;  // null for a positional-only parameter
  int nameLength;
  char type;
};

// Reads "c[ThresholdY]i[Noise]i" into parameters; returns their count or -1.
int ParseSignature(const char* signature, Parameter (&parameters)[kMaxParameters]) {
  int count = 0;
  for (const char* p = signature; *p;) {
    if (count == kMaxParameters) return -1;
    Parameter& parameter = parameters[count++];
    parameter.name = nullptr;
    parameter.nameLength = 0;
    if (*p == '[') {
      parameter.name = ++p;
      while (*p && *p != ']') ++p;
      if (*p != ']') return -1;
      parameter.nameLength = static_cast<int>(p - parameter.name);
      ++p;
    }
    if (!*p) return -1;
    parameter.type = *p++;
  }
  return count;
}

bool NameIs(const Parameter& parameter, const char* name) {
  return parameter.name && strlen(name) == static_cast<unsigned>(parameter.nameLength) &&
         _strnicmp(parameter.name, name, parameter.nameLength) == 0;
}

AVSValue ValueOf(const velmire_cases::Argument& argument) {
  if (argument.type == 'b') return AVSValue(argument.value != 0);
  return AVSValue(argument.value);
}

}  // namespace

int BindArguments(const char* signature, const PClip& clip, const velmire_cases::Case& call,
                  AVSValue (&values)[kMaxParameters]) {
  Parameter parameters[kMaxParameters];
  const int count = ParseSignature(signature, parameters);
  if (count < 1 || parameters[0].type != 'c') {
    Check(false, "cannot bind to the signature \"%s\"", signature);
    return -1;
  }
  for (int i = 0; i < count; ++i) values[i] = AVSValue();
  values[0] = AVSValue(clip);
  int next = 1;
  for (int a = 0; a < call.argumentCount; ++a) {
    const velmire_cases::Argument& argument = call.arguments[a];
    int index = -1;
    if (argument.name) {
      for (int i = 1; i < count && index < 0; ++i)
        if (NameIs(parameters[i], argument.name)) index = i;
    } else if (next < count) {
      index = next++;
    }
    if (index < 0 || parameters[index].type != argument.type || values[index].Defined()) {
      Check(false, "argument %d of \"%s\" does not fit \"%s\"", a + 1, call.title, signature);
      return -1;
    }
    values[index] = ValueOf(argument);
  }
  return count;
}

}  // namespace msvc
