// The frame server's 2.5 plug-in interface, declared the way a program built by Microsoft's
// compiler declares it: a real virtual destructor, frames and values returned by value,
// values passed by value, default calling conventions where the interface leaves them.
// Nothing here is adapted to the plug-in's compiler; that is the point of the test.
#pragma once

#include <stdarg.h>

#include "runtime.h"

namespace msvc {

enum { AVISYNTH_INTERFACE_VERSION = 2, FRAME_ALIGN = 16 };
enum { PLANAR_Y = 1, PLANAR_U = 2, PLANAR_V = 4 };
enum : int {
  CS_BGR = 1 << 28,
  CS_YUV = 1 << 29,
  CS_INTERLEAVED = 1 << 30,
  CS_PLANAR = static_cast<int>(0x80000000u),
  CS_BGR32 = 1 << 1 | CS_BGR | CS_INTERLEAVED,
  CS_YUY2 = 1 << 2 | CS_YUV | CS_INTERLEAVED,
  CS_YV12 = 1 << 3 | CS_YUV | CS_PLANAR,
};

struct VideoInfo {
  int width, height;
  unsigned fps_numerator, fps_denominator;
  int num_frames;
  int pixel_type;
  int audio_samples_per_second;
  int sample_type;
  __int64 num_audio_samples;
  int nchannels;
  int image_type;

  bool IsPlanar() const { return (pixel_type & CS_PLANAR) != 0; }
  int BytesPerRow() const { return pixel_type == CS_YUY2 ? width * 2 : pixel_type == CS_BGR32 ? width * 4 : width; }
};

class VideoFrameBuffer {
 public:
  unsigned char* data;
  int data_size;
  long sequence_number;
  long refcount;
};

class IClip;
class IScriptEnvironment;

class VideoFrame {
 public:
  long refcount;
  VideoFrameBuffer* vfb;
  int offset, pitch, row_size, height, offsetU, offsetV, pitchUV;

  void AddRef() { _InterlockedIncrement(&refcount); }
  void Release() {
    if (_InterlockedDecrement(&refcount) == 0) _InterlockedDecrement(&vfb->refcount);
  }
  int GetPitch(int plane = PLANAR_Y) const { return plane == PLANAR_Y ? pitch : pitchUV; }
  int GetRowSize(int plane = PLANAR_Y) const {
    if (plane == PLANAR_Y) return row_size;
    return pitchUV ? row_size >> 1 : 0;
  }
  int GetHeight(int plane = PLANAR_Y) const {
    if (plane == PLANAR_Y) return height;
    return pitchUV ? height >> 1 : 0;
  }
  const unsigned char* GetReadPtr(int plane = PLANAR_Y) const {
    return vfb->data + (plane == PLANAR_U ? offsetU : plane == PLANAR_V ? offsetV : offset);
  }
  unsigned char* GetWritePtr(int plane = PLANAR_Y) const {
    return const_cast<unsigned char*>(GetReadPtr(plane));
  }
};

class PVideoFrame {
 public:
  PVideoFrame() : p_(nullptr) {}
  PVideoFrame(VideoFrame* frame) : p_(frame) {
    if (p_) p_->AddRef();
  }
  PVideoFrame(const PVideoFrame& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  PVideoFrame& operator=(const PVideoFrame& other) {
    if (other.p_) other.p_->AddRef();
    if (p_) p_->Release();
    p_ = other.p_;
    return *this;
  }
  ~PVideoFrame() {
    if (p_) p_->Release();
  }
  VideoFrame* operator->() const { return p_; }
  VideoFrame* get() const { return p_; }

 private:
  VideoFrame* p_;
};

class PClip {
 public:
  PClip() : p_(nullptr) {}
  PClip(IClip* clip);
  PClip(const PClip& other);
  PClip& operator=(const PClip& other);
  ~PClip();
  IClip* operator->() const { return p_; }
  IClip* get() const { return p_; }

 private:
  IClip* p_;
};

class IClip {
  friend class PClip;
  friend class AVSValue;

 public:
  IClip() : refcnt(0) {}
  virtual int __stdcall GetVersion() { return AVISYNTH_INTERFACE_VERSION; }
  virtual PVideoFrame __stdcall GetFrame(int n, IScriptEnvironment* env) = 0;
  virtual bool __stdcall GetParity(int n) = 0;
  virtual void __stdcall GetAudio(void* buf, __int64 start, __int64 count,
                                  IScriptEnvironment* env) = 0;
  virtual void __stdcall SetCacheHints(int cachehints, int frame_range) = 0;
  virtual const VideoInfo& __stdcall GetVideoInfo() = 0;
  // Slot 6. The compiler gives a destructor its own convention (thiscall) and one slot.
  virtual ~IClip() {}

  long References() const { return refcnt; }

 private:
  void AddRef() { _InterlockedIncrement(&refcnt); }
  void Release() {
    if (_InterlockedDecrement(&refcnt) == 0) delete this;
  }
  long refcnt;
};

inline PClip::PClip(IClip* clip) : p_(clip) {
  if (p_) p_->AddRef();
}
inline PClip::PClip(const PClip& other) : p_(other.p_) {
  if (p_) p_->AddRef();
}
inline PClip& PClip::operator=(const PClip& other) {
  if (other.p_) other.p_->AddRef();
  if (p_) p_->Release();
  p_ = other.p_;
  return *this;
}
inline PClip::~PClip() {
  if (p_) p_->Release();
}

class AVSValue {
 public:
  AVSValue() : type('v'), array_size(0), integer(0) {}
  AVSValue(IClip* c) : type('c'), array_size(0), clip(c) {
    if (clip) clip->AddRef();
  }
  AVSValue(const PClip& c) : AVSValue(c.get()) {}
  AVSValue(bool b) : type('b'), array_size(0), integer(0) { boolean = b; }
  AVSValue(int i) : type('i'), array_size(0), integer(i) {}
  AVSValue(const char* s) : type('s'), array_size(0), string(s) {}
  AVSValue(const AVSValue* a, int size) : type('a'), array_size(static_cast<short>(size)), array(a) {}
  AVSValue(const AVSValue& other) : type(other.type), array_size(other.array_size), integer(other.integer) {
    if (IsClip() && clip) clip->AddRef();
  }
  AVSValue& operator=(const AVSValue& other) {
    if (other.IsClip() && other.clip) other.clip->AddRef();
    if (IsClip() && clip) clip->Release();
    type = other.type;
    array_size = other.array_size;
    integer = other.integer;
    return *this;
  }
  ~AVSValue() {
    if (IsClip() && clip) clip->Release();
  }

  bool Defined() const { return type != 'v'; }
  bool IsClip() const { return type == 'c'; }
  char Type() const { return static_cast<char>(type); }
  int ArraySize() const { return type == 'a' ? array_size : 1; }
  PClip AsClip() const { return IsClip() ? PClip(clip) : PClip(); }

 private:
  short type;
  short array_size;
  union {
    IClip* clip;
    bool boolean;
    int integer;
    const char* string;
    const AVSValue* array;
  };
};

// What ThrowError raises: the host's script error, carrying the message.
class ScriptError {
 public:
  explicit ScriptError(const char* message) : msg(message) {}
  const char* const msg;
};

class IScriptEnvironment {
 public:
  virtual ~IScriptEnvironment() {}
  virtual long __stdcall GetCPUFlags() = 0;
  virtual char* __stdcall SaveString(const char* s, int length = -1) = 0;
  virtual char* __cdecl Sprintf(const char* fmt, ...) = 0;
  virtual char* __stdcall VSprintf(const char* fmt, va_list val) = 0;
  [[noreturn]] virtual void __cdecl ThrowError(const char* fmt, ...) = 0;

  typedef AVSValue(__cdecl* ApplyFunc)(AVSValue args, void* user_data, IScriptEnvironment* env);
  typedef void(__cdecl* ShutdownFunc)(void* user_data, IScriptEnvironment* env);

  virtual void __stdcall AddFunction(const char* name, const char* params, ApplyFunc apply,
                                     void* user_data) = 0;
  virtual bool __stdcall FunctionExists(const char* name) = 0;
  virtual AVSValue __stdcall Invoke(const char* name, const AVSValue args,
                                    const char** arg_names = nullptr) = 0;
  virtual AVSValue __stdcall GetVar(const char* name) = 0;
  virtual bool __stdcall SetVar(const char* name, const AVSValue& val) = 0;
  virtual bool __stdcall SetGlobalVar(const char* name, const AVSValue& val) = 0;
  virtual void __stdcall PushContext(int level = 0) = 0;
  virtual void __stdcall PopContext() = 0;
  virtual PVideoFrame __stdcall NewVideoFrame(const VideoInfo& vi, int align = FRAME_ALIGN) = 0;
  virtual bool __stdcall MakeWritable(PVideoFrame* pvf) = 0;
  virtual void __stdcall BitBlt(unsigned char* dstp, int dst_pitch, const unsigned char* srcp,
                                int src_pitch, int row_size, int height) = 0;
  virtual void __stdcall AtExit(ShutdownFunc function, void* user_data) = 0;
  virtual void __stdcall CheckVersion(int version = AVISYNTH_INTERFACE_VERSION) = 0;
  virtual PVideoFrame __stdcall Subframe(PVideoFrame src, int rel_offset, int new_pitch,
                                         int new_row_size, int new_height) = 0;
  virtual int __stdcall SetMemoryMax(int mem) = 0;
  virtual int __stdcall SetWorkingDir(const char* newdir) = 0;
};

typedef const char*(__stdcall* PluginInit2)(IScriptEnvironment* env);

// The layout this compiler gives the declarations above, which is the frame server's layout.
static_assert(sizeof(VideoInfo) == 48 && __builtin_offsetof(VideoInfo, num_audio_samples) == 32 &&
              __builtin_offsetof(VideoInfo, image_type) == 44);
static_assert(sizeof(VideoFrameBuffer) == 16 && __builtin_offsetof(VideoFrameBuffer, refcount) == 12);
static_assert(sizeof(VideoFrame) == 36 && __builtin_offsetof(VideoFrame, pitchUV) == 32);
static_assert(sizeof(AVSValue) == 8 && sizeof(PClip) == 4 && sizeof(PVideoFrame) == 4);
static_assert(sizeof(IClip) == 8);

}  // namespace msvc
