#include "host/signature.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "host/host_error.h"

namespace velmire::host {
namespace {

bool IsTypeLetter(char c) { return c == 'c' || c == 'i' || c == 'f' || c == 'b' || c == 's'; }

const char* TypeName(char type) {
  switch (type) {
    case 'c': return "a clip";
    case 'i': return "an int";
    case 'f': return "a float";
    case 'b': return "a bool";
    case 's': return "a string";
    default: return "a value";
  }
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool Matches(char type, const AVSValue& value) {
  switch (type) {
    case 'c': return value.IsClip();
    case 'i': return value.IsInt();
    case 'f': return value.IsFloat();
    case 'b': return value.IsBool();
    case 's': return value.IsString();
    default: return false;
  }
}

std::string Describe(const std::vector<Parameter>& parameters, size_t index) {
  const Parameter& p = parameters[index];
  std::string text = "argument " + std::to_string(index + 1);
  if (!p.name.empty()) text += " (" + p.name + ")";
  return text;
}

}  // namespace

std::vector<Parameter> ParseSignature(const std::string& signature) {
  std::vector<Parameter> parameters;
  size_t i = 0;
  while (i < signature.size()) {
    Parameter p{"", 0, false};
    if (signature[i] == '[') {
      const size_t close = signature.find(']', i);
      if (close == std::string::npos || close == i + 1)
        throw HostError("malformed signature \"" + signature + "\"");
      p.name = signature.substr(i + 1, close - i - 1);
      p.optional = true;
      i = close + 1;
    }
    if (i >= signature.size() || !IsTypeLetter(signature[i]))
      throw HostError("malformed signature \"" + signature + "\"");
    p.type = signature[i++];
    parameters.push_back(std::move(p));
  }
  return parameters;
}

std::vector<AVSValue> BindArguments(const std::string& function,
                                    const std::vector<Parameter>& parameters,
                                    const std::vector<AVSValue>& positional,
                                    const NamedArguments& named) {
  if (positional.size() > parameters.size())
    throw HostError(function + ": too many arguments (" + std::to_string(positional.size()) +
                    " given, at most " + std::to_string(parameters.size()) + ")");
  std::vector<AVSValue> bound(parameters.size());
  std::vector<bool> given(parameters.size(), false);
  for (size_t i = 0; i < positional.size(); ++i) {
    bound[i] = positional[i];
    given[i] = true;
  }
  for (const auto& argument : named) {
    const std::string& name = argument.first;
    const AVSValue& value = argument.second;
    const auto it = std::find_if(parameters.begin(), parameters.end(),
                                 [&](const Parameter& p) { return SameName(p.name, name); });
    if (it == parameters.end())
      throw HostError(function + " does not have a named argument \"" + name + "\"");
    const size_t index = static_cast<size_t>(it - parameters.begin());
    if (given[index])
      throw HostError(function + ": argument \"" + name + "\" is given more than once");
    bound[index] = value;
    given[index] = true;
  }
  for (size_t i = 0; i < parameters.size(); ++i) {
    if (!given[i] || !bound[i].Defined()) {
      if (!parameters[i].optional)
        throw HostError(function + ": " + Describe(parameters, i) + " is missing; " +
                        TypeName(parameters[i].type) + " is required");
      continue;
    }
    if (!Matches(parameters[i].type, bound[i]))
      throw HostError(function + ": " + Describe(parameters, i) + " must be " +
                      TypeName(parameters[i].type));
    if (parameters[i].type == 'c' && !bound[i].AsClip())
      throw HostError(function + ": " + Describe(parameters, i) + " is a null clip");
    if (parameters[i].type == 'f' && bound[i].IsInt()) bound[i] = AVSValue(bound[i].AsFloat());
  }
  return bound;
}

}  // namespace velmire::host
