#include "host/script_environment.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "host/plugin_loader.h"

namespace velmire::host {
namespace {

std::string FormatMessage(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  if (length < 0) return fmt;
  std::string text(static_cast<size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, fmt, args);
  return text;
}

}  // namespace

ScriptEnvironment::~ScriptEnvironment() {
  for (auto it = atExit_.rbegin(); it != atExit_.rend(); ++it) it->first(it->second, this);
}

void ScriptEnvironment::LoadPlugin(const std::string& path) {
  PluginInitFunc entry = OpenPluginLibrary(path);
  entry(this);
}

const ScriptEnvironment::Registration* ScriptEnvironment::Find(const std::string& name) const {
  // The latest registration of a name wins, as a plug-in loaded later overrides.
  for (auto it = functions_.rbegin(); it != functions_.rend(); ++it) {
    if (it->name.size() == name.size() &&
        std::equal(name.begin(), name.end(), it->name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        }))
      return &*it;
  }
  return nullptr;
}

AVSValue ScriptEnvironment::Invoke(const std::string& name, const std::vector<AVSValue>& positional,
                                   const NamedArguments& named) {
  Registration function;
  {
    std::lock_guard lock(mutex_);
    const Registration* found = Find(name);
    if (!found) throw HostError("there is no function named \"" + name + "\"");
    function = *found;
  }
  const std::vector<AVSValue> bound =
      BindArguments(function.name, ParseSignature(function.params), positional, named);
  const AVSValue args(bound.data(), static_cast<int>(bound.size()));
  AVSValueRaw result{};
  result.type = 'v';
  // The callee owns the argument value it receives; an array value carries no reference.
  function.apply(&result, args.raw(), function.user_data, this);
  return AVSValue::Adopt(result);
}

std::vector<ScriptEnvironment::Registration> ScriptEnvironment::Functions() const {
  std::lock_guard lock(mutex_);
  return functions_;
}

void ScriptEnvironment::DestructorSlot(unsigned) {
  // The environment belongs to whoever created it; plug-ins never destroy it.
}

char* ScriptEnvironment::SaveString(const char* s, int length) {
  std::lock_guard lock(mutex_);
  const size_t size = length < 0 ? std::strlen(s) : static_cast<size_t>(length);
  strings_.emplace_back(s, size);
  return strings_.back().data();
}

char* ScriptEnvironment::Sprintf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  char* saved = VSprintf(fmt, args);
  va_end(args);
  return saved;
}

char* ScriptEnvironment::VSprintf(const char* fmt, va_list val) {
  const std::string text = FormatMessage(fmt, val);
  return SaveString(text.c_str(), static_cast<int>(text.size()));
}

void ScriptEnvironment::ThrowError(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string text = FormatMessage(fmt, args);
  va_end(args);
  throw HostError(text);
}

void ScriptEnvironment::AddFunction(const char* name, const char* params, ApplyFunc apply,
                                    void* user_data) {
  ParseSignature(params);  // refuse a malformed signature at registration
  std::lock_guard lock(mutex_);
  functions_.push_back({name, params, apply, user_data});
}

bool ScriptEnvironment::FunctionExists(const char* name) {
  std::lock_guard lock(mutex_);
  return Find(name) != nullptr;
}

AVSValueRaw* ScriptEnvironment::InvokeSlot(AVSValueRaw* result, const char* name, AVSValueRaw args,
                                           const char** arg_names) {
  const AVSValue owned = AVSValue::Adopt(args);
  std::vector<AVSValue> positional;
  NamedArguments named;
  for (int i = 0; i < owned.ArraySize(); ++i) {
    if (arg_names && arg_names[i])
      named.emplace_back(arg_names[i], owned[i]);
    else
      positional.push_back(owned[i]);
  }
  *result = Invoke(name, positional, named).Release();
  return result;
}

AVSValueRaw* ScriptEnvironment::GetVarSlot(AVSValueRaw* result, const char* name) {
  AVSValue value;
  {
    std::lock_guard lock(mutex_);
    const auto it = variables_.find(name);
    if (it == variables_.end()) throw HostError(std::string("variable \"") + name + "\" is not defined");
    value = it->second;
  }
  *result = value.Release();
  return result;
}

bool ScriptEnvironment::SetVar(const char* name, const AVSValue& val) {
  std::lock_guard lock(mutex_);
  const bool existed = variables_.count(name) != 0;
  variables_[name] = val;
  return !existed;
}

bool ScriptEnvironment::SetGlobalVar(const char* name, const AVSValue& val) { return SetVar(name, val); }

VideoFrame** ScriptEnvironment::NewVideoFrameSlot(VideoFrame** result, const VideoInfo& vi, int align) {
  *result = pool_.Allocate(GeometryOf(vi, align)).Detach();
  return result;
}

bool ScriptEnvironment::MakeWritable(PVideoFrame* frame) {
  const VideoFrame& source = **frame;
  if (source.IsWritable()) return false;
  PVideoFrame copy = pool_.Allocate(GeometryOf(source));
  BitBlt(copy->vfb->data + copy->offset, copy->pitch, source.GetReadPtr(), source.pitch,
         source.row_size, source.height);
  if (source.pitchUV) {
    for (const int plane : {PLANAR_U, PLANAR_V})
      BitBlt(copy->vfb->data + copy->GetOffset(plane), copy->pitchUV, source.GetReadPtr(plane),
             source.pitchUV, source.GetRowSize(plane), source.GetHeight(plane));
  }
  *frame = std::move(copy);
  return true;
}

void ScriptEnvironment::BitBlt(uint8_t* dstp, int dst_pitch, const uint8_t* srcp, int src_pitch,
                               int row_size, int height) {
  for (int y = 0; y < height; ++y)
    std::memcpy(dstp + static_cast<ptrdiff_t>(y) * dst_pitch,
                srcp + static_cast<ptrdiff_t>(y) * src_pitch, static_cast<size_t>(row_size));
}

void ScriptEnvironment::AtExit(ShutdownFunc function, void* user_data) {
  std::lock_guard lock(mutex_);
  atExit_.emplace_back(function, user_data);
}

void ScriptEnvironment::CheckVersion(int version) {
  if (version > AVISYNTH_INTERFACE_VERSION)
    ThrowError("plug-in needs interface version %d; this host offers %d", version,
               AVISYNTH_INTERFACE_VERSION);
}

VideoFrame** ScriptEnvironment::SubframeSlot(VideoFrame** result, VideoFrame* source, int, int, int,
                                             int) {
  PVideoFrame::Adopt(source);  // drop the reference the caller handed over
  *result = nullptr;
  ThrowError("Subframe is not supported by this host");
}

int ScriptEnvironment::SetMemoryMax(int mem) {
  std::lock_guard lock(mutex_);
  if (mem > 0) memoryMax_ = mem;
  return memoryMax_;
}

}  // namespace velmire::host
