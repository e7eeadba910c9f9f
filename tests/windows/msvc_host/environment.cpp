#include "environment.h"

#include "checks.h"

namespace msvc {

TestEnvironment::~TestEnvironment() {
  for (int i = 0; i < stringCount_; ++i) free(strings_[i]);
}

char* TestEnvironment::SaveString(const char* s, int length) {
  const unsigned size = length < 0 ? strlen(s) : static_cast<unsigned>(length);
  if (stringCount_ == kMaxStrings) {
    Check(false, "the plug-in saved more than %d strings", kMaxStrings);
    exit(3);
  }
  char* copy = static_cast<char*>(malloc(size + 1));
  memcpy(copy, s, size);
  copy[size] = '\0';
  strings_[stringCount_++] = copy;
  return copy;
}

char* TestEnvironment::VSprintf(const char* fmt, va_list val) {
  char text[1024];
  const int length = _vsnprintf(text, sizeof text - 1, fmt, val);
  text[sizeof text - 1] = '\0';
  return SaveString(text, length < 0 ? static_cast<int>(strlen(text)) : length);
}

char* TestEnvironment::Sprintf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  char* text = VSprintf(fmt, args);
  va_end(args);
  return text;
}

void TestEnvironment::ThrowError(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const char* message = VSprintf(fmt, args);
  va_end(args);
  throw ScriptError(message);
}

void TestEnvironment::AddFunction(const char* name, const char* params, ApplyFunc apply,
                                  void* user_data) {
  if (registrationCount_ == kMaxRegistrations) {
    Check(false, "the plug-in registered more than %d functions", kMaxRegistrations);
    return;
  }
  registrations_[registrationCount_++] = Registration{name, params, apply, user_data};
}

bool TestEnvironment::FunctionExists(const char* name) {
  for (int i = 0; i < registrationCount_; ++i)
    if (_strnicmp(registrations_[i].name, name, strlen(name) + 1) == 0) return true;
  return false;
}

AVSValue TestEnvironment::Invoke(const char* name, const AVSValue, const char**) {
  Check(false, "the plug-in called Invoke(\"%s\")", name);
  ThrowError("Invoke is not offered by the test host");
}

AVSValue TestEnvironment::GetVar(const char* name) {
  Check(false, "the plug-in called GetVar(\"%s\")", name);
  return AVSValue();
}

bool TestEnvironment::SetVar(const char* name, const AVSValue&) {
  Check(false, "the plug-in called SetVar(\"%s\")", name);
  return false;
}

bool TestEnvironment::SetGlobalVar(const char* name, const AVSValue&) {
  Check(false, "the plug-in called SetGlobalVar(\"%s\")", name);
  return false;
}

PVideoFrame TestEnvironment::NewVideoFrame(const VideoInfo& vi, int) {
  return frames_.Allocate(vi.BytesPerRow(), vi.height, vi.IsPlanar());
}

bool TestEnvironment::MakeWritable(PVideoFrame* pvf) {
  VideoFrame* frame = pvf->get();
  if (frame->refcount == 1 && frame->vfb->refcount == 1) return false;
  VideoFrame* copy = frames_.Allocate(frame->row_size, frame->height, frame->pitchUV != 0);
  const int planes[] = {PLANAR_Y, PLANAR_U, PLANAR_V};
  for (const int plane : planes) {
    if (plane != PLANAR_Y && !frame->pitchUV) break;
    BitBlt(copy->GetWritePtr(plane), copy->GetPitch(plane), frame->GetReadPtr(plane),
           frame->GetPitch(plane), frame->GetRowSize(plane), frame->GetHeight(plane));
  }
  *pvf = copy;
  return true;
}

void TestEnvironment::BitBlt(unsigned char* dstp, int dst_pitch, const unsigned char* srcp,
                             int src_pitch, int row_size, int height) {
  for (int y = 0; y < height; ++y) memcpy(dstp + y * dst_pitch, srcp + y * src_pitch, row_size);
}

void TestEnvironment::AtExit(ShutdownFunc, void*) {
  Check(false, "the plug-in registered an exit function");
}

void TestEnvironment::CheckVersion(int version) {
  if (version > AVISYNTH_INTERFACE_VERSION)
    ThrowError("Plugin was designed for a later version of the host (%d)", version);
}

PVideoFrame TestEnvironment::Subframe(PVideoFrame, int, int, int, int) {
  Check(false, "the plug-in called Subframe");
  return PVideoFrame();
}

}  // namespace msvc
