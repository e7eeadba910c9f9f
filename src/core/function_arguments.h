// The script function every front-end offers: its name and its arguments after the clip, in
// call order, each with its spelling in every host, its type, range, default and the Settings
// field it sets. The signatures and option names of the front-ends and the tool are made from
// this table, so the argument list is written here once.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "base/settings.h"

namespace velmire {

inline constexpr const char* kFunctionName = "Velmire";

enum class ArgumentType {
  kInteger,
  kFlag,  // true or false; VapourSynth takes it as an integer 0 or 1
};

// The hosts whose script languages name the arguments the same way ("ThresholdY").
enum class ScriptHost {
  kInterface25,  // the 2.5 interface: the first four arguments only
  kAviSynthPlus,
};

struct FunctionArgument {
  const char* scriptName;       // the AviSynth-style hosts
  const char* vapoursynthName;  // VapourSynth's keyword
  const char* optionName;       // the tool's option
  ArgumentType type;
  IntegerSetting range;  // a flag's is 0..1, default 0 (false)
  int Settings::*integer = nullptr;
  bool Settings::*flag = nullptr;
  bool onInterface25 = true;  // offered by the 2.5 plug-in

  constexpr int Read(const Settings& s) const { return integer ? s.*integer : int(s.*flag); }
  // Stores `value` as given (a flag is set by any non-zero value); clamping is the caller's.
  constexpr void Store(Settings& s, int value) const {
    if (integer) {
      s.*integer = value;
    } else {
      s.*flag = value != 0;
    }
  }
  constexpr bool OfferedBy(ScriptHost host) const {
    return host != ScriptHost::kInterface25 || onInterface25;
  }
};

inline constexpr IntegerSetting kDebug{"Debug", 0, 1, 0};

inline constexpr FunctionArgument kFunctionArguments[] = {
    {kThresholdY.name, "threshold_y", "--threshold-y", ArgumentType::kInteger, kThresholdY,
     &Settings::ThresholdY},
    {kNoise.name, "noise", "--noise", ArgumentType::kInteger, kNoise, &Settings::Noise},
    {kMargin.name, "margin", "--margin", ArgumentType::kInteger, kMargin, &Settings::Margin},
    {kDebug.name, "debug", "--debug", ArgumentType::kFlag, kDebug, nullptr, &Settings::Debug},
    {kMode.name, "mode", "--mode", ArgumentType::kInteger, kMode, &Settings::Mode, nullptr,
     false},
};

// The argument of that tool option, or null.
constexpr const FunctionArgument* FindOption(std::string_view optionName) {
  for (const FunctionArgument& a : kFunctionArguments) {
    if (optionName == a.optionName) return &a;
  }
  return nullptr;
}

namespace function_arguments_detail {

template <std::size_t N>
struct FixedText {
  std::array<char, N + 1> chars{};
  constexpr const char* c_str() const { return chars.data(); }
};

// Appends `piece` to `out` at `*at`; with no `out`, only counts.
constexpr void Put(char* out, std::size_t* at, std::string_view piece) {
  for (const char c : piece) {
    if (out) out[*at] = c;
    ++*at;
  }
}

// "c[ThresholdY]i[Noise]i..." for the AviSynth-style hosts.
constexpr std::size_t WriteScriptSignature(ScriptHost host, char* out) {
  std::size_t at = 0;
  Put(out, &at, "c");
  for (const FunctionArgument& a : kFunctionArguments) {
    if (!a.OfferedBy(host)) continue;
    Put(out, &at, "[");
    Put(out, &at, a.scriptName);
    Put(out, &at, a.type == ArgumentType::kFlag ? "]b" : "]i");
  }
  return at;
}

// "clip:vnode;threshold_y:int:opt;..." for VapourSynth.
constexpr std::size_t WriteVapourSynthArguments(char* out) {
  std::size_t at = 0;
  Put(out, &at, "clip:vnode;");
  for (const FunctionArgument& a : kFunctionArguments) {
    Put(out, &at, a.vapoursynthName);
    Put(out, &at, ":int:opt;");
  }
  return at;
}

template <ScriptHost host>
constexpr auto MakeScriptSignature() {
  FixedText<WriteScriptSignature(host, nullptr)> text;
  WriteScriptSignature(host, text.chars.data());
  return text;
}

constexpr auto MakeVapourSynthArguments() {
  FixedText<WriteVapourSynthArguments(nullptr)> text;
  WriteVapourSynthArguments(text.chars.data());
  return text;
}

template <ScriptHost host>
inline constexpr auto kScriptSignature = MakeScriptSignature<host>();
inline constexpr auto kVapourSynthArguments = MakeVapourSynthArguments();

}  // namespace function_arguments_detail

// The function's parameter string for an AviSynth-style host (static storage: hosts may keep
// the pointer).
template <ScriptHost host>
constexpr const char* ScriptSignature() {
  return function_arguments_detail::kScriptSignature<host>.c_str();
}

// The function's argument string for VapourSynth, the clip first.
constexpr const char* VapourSynthArguments() {
  return function_arguments_detail::kVapourSynthArguments.c_str();
}

}  // namespace velmire
