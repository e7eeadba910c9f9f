// AVSValue: a script value (undefined, clip, bool, int, float, string or array).
//
// AVSValueRaw is its plain 8-byte form (16 bytes on 64-bit platforms), used wherever a value
// crosses the boundary by value: a class with a copy constructor is passed differently by the
// host's compiler and by GCC, a plain struct identically. Whoever receives a raw value owns
// it: a clip it holds carries one reference that the receiver must drop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "host/interface/clip.h"

namespace velmire {

struct AVSValueRaw {
  int16_t type;        // 'v' undefined, 'c' clip, 'b' bool, 'i' int, 'f' float, 's' string, 'a' array
  int16_t array_size;  // element count of an array
  union {
    IClip* clip;
    bool boolean;
    int integer;
    float floating_pt;
    const char* string;
    const void* array;  // first element of an array (an AVSValue)
  };
};

class AVSValue {
 public:
  AVSValue() { Set('v', 0); }
  AVSValue(IClip* clip) { SetClip(clip); }          // NOLINT: implicit like the host's own
  AVSValue(const PClip& clip) { SetClip(clip.get()); }  // NOLINT
  AVSValue(bool b) { Set('b', 0).boolean = b; }      // NOLINT
  AVSValue(int i) { Set('i', 0).integer = i; }       // NOLINT
  AVSValue(float f) { Set('f', 0).floating_pt = f; }  // NOLINT
  AVSValue(double f) { Set('f', 0).floating_pt = static_cast<float>(f); }  // NOLINT
  AVSValue(const char* s) { Set('s', 0).string = s; }  // NOLINT
  AVSValue(const AVSValue* elements, int size) { Set('a', static_cast<int16_t>(size)).array = elements; }

  AVSValue(const AVSValue& other) : raw_(other.raw_) { AddRefClip(); }
  AVSValue& operator=(const AVSValue& other) {
    AVSValue copy(other);
    std::swap(raw_, copy.raw_);
    return *this;
  }
  ~AVSValue() { ReleaseClip(); }

  // Takes ownership of a raw value (and of the clip reference it may carry).
  static AVSValue Adopt(const AVSValueRaw& raw) {
    AVSValue value;
    value.raw_ = raw;
    return value;
  }
  // Gives the value away as a raw value, with the clip reference it may carry.
  AVSValueRaw Release() {
    AVSValueRaw out = raw_;
    Set('v', 0);
    return out;
  }
  const AVSValueRaw& raw() const { return raw_; }

  bool Defined() const { return raw_.type != 'v'; }
  bool IsClip() const { return raw_.type == 'c'; }
  bool IsBool() const { return raw_.type == 'b'; }
  bool IsInt() const { return raw_.type == 'i'; }
  bool IsFloat() const { return raw_.type == 'f' || raw_.type == 'i'; }
  bool IsString() const { return raw_.type == 's'; }
  bool IsArray() const { return raw_.type == 'a'; }
  char Type() const { return static_cast<char>(raw_.type); }

  PClip AsClip() const { return IsClip() ? PClip(raw_.clip) : PClip(); }
  bool AsBool(bool def = false) const { return IsBool() ? raw_.boolean : def; }
  int AsInt(int def = 0) const { return IsInt() ? raw_.integer : def; }
  float AsFloat(float def = 0) const {
    if (raw_.type == 'i') return static_cast<float>(raw_.integer);
    return raw_.type == 'f' ? raw_.floating_pt : def;
  }
  const char* AsString(const char* def = nullptr) const { return IsString() ? raw_.string : def; }

  int ArraySize() const { return IsArray() ? raw_.array_size : 1; }
  // Element i of an array whose size is greater than i; otherwise the value itself.
  const AVSValue& operator[](int index) const {
    if (IsArray() && index >= 0 && index < raw_.array_size)
      return static_cast<const AVSValue*>(raw_.array)[index];
    return *this;
  }

 private:
  AVSValueRaw& Set(int16_t type, int16_t size) {
    std::memset(&raw_, 0, sizeof raw_);
    raw_.type = type;
    raw_.array_size = size;
    return raw_;
  }
  void SetClip(IClip* clip) {
    Set('c', 0).clip = clip;
    AddRefClip();
  }
  void AddRefClip() {
    if (IsClip() && raw_.clip) InterlockedIncrement32(raw_.clip->refcnt);
  }
  void ReleaseClip() {
    if (IsClip() && raw_.clip && InterlockedDecrement32(raw_.clip->refcnt) == 0)
      raw_.clip->DeletingDestructor(1);
  }

  AVSValueRaw raw_;
};

static_assert(sizeof(AVSValue) == sizeof(AVSValueRaw));

// The host's layout, pinned on 32-bit builds: a 16-bit type tag, a 16-bit array size, then
// one 4-byte word for the payload.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(AVSValueRaw) == 8);
static_assert(offsetof(AVSValueRaw, type) == 0);
static_assert(offsetof(AVSValueRaw, array_size) == 2);
static_assert(offsetof(AVSValueRaw, clip) == 4);
static_assert(offsetof(AVSValueRaw, boolean) == 4);
static_assert(offsetof(AVSValueRaw, integer) == 4);
static_assert(offsetof(AVSValueRaw, floating_pt) == 4);
static_assert(offsetof(AVSValueRaw, string) == 4);
static_assert(offsetof(AVSValueRaw, array) == 4);
static_assert(sizeof(AVSValue) == 8);
#endif

}  // namespace velmire
