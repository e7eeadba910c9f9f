#include "avisynthplus_host.h"

#include <cstring>
#include <stdexcept>

namespace velmire::testing {

namespace {

using Source = MemorySource;

constexpr int kPlanes[3] = {AVS_PLANAR_Y, AVS_PLANAR_U, AVS_PLANAR_V};

void CopyIn(const PlaneBytes& from, AVS_VideoFrame* to, int plane) {
  uint8_t* data = avs_get_write_ptr_p(to, plane);
  const int pitch = avs_get_pitch_p(to, plane);
  for (int row = 0; row < from.height; ++row) {
    std::memcpy(data + row * pitch, from.Row(row), from.rowSize);
  }
}

PlaneBytes CopyOut(const AVS_VideoFrame* frame, int plane) {
  PlaneBytes out{avs_get_row_size_p(frame, plane), avs_get_height_p(frame, plane), {}};
  out.bytes.resize(static_cast<size_t>(out.rowSize) * out.height);
  const uint8_t* data = avs_get_read_ptr_p(frame, plane);
  for (int row = 0; row < out.height; ++row) {
    std::memcpy(out.Row(row), data + row * avs_get_pitch_p(frame, plane), out.rowSize);
  }
  return out;
}

AVS_VideoFrame* AVSC_CC ServeFrame(AVS_FilterInfo* fi, int n) {
  const Source& source = *static_cast<const Source*>(fi->user_data);
  if (n < 0 || n >= static_cast<int>(source.frames.size())) {
    fi->error = "VelmireTestSource: asked for a frame outside the clip";
    return nullptr;
  }
  if (n == source.broken) {
    fi->error = source.brokenError.c_str();
    return nullptr;
  }
  return avs_copy_video_frame(source.frames[n]);
}

int AVSC_CC NoParity(AVS_FilterInfo*, int) { return 0; }
int AVSC_CC NoAudio(AVS_FilterInfo*, void*, int64_t, int64_t) { return 0; }
void AVSC_CC NothingToFree(AVS_FilterInfo*) {}

// One instance per thread, for the reason the plug-in gives (see its frame_filter.h).
int AVSC_CC SourceCacheHints(AVS_FilterInfo*, int cachehints, int) {
  return cachehints == AVS_CACHE_GET_MTMODE ? AVS_MT_MULTI_INSTANCE : 0;
}

// VelmireTestSource(int index): the clip of the host's source `index`.
AVS_Value AVSC_CC CreateSource(AVS_ScriptEnvironment* env, AVS_Value args, void* userData) {
  auto& sources = *static_cast<std::deque<Source>*>(userData);
  const Source& source = sources.at(avs_as_int(avs_array_elt(args, 0)));
  AVS_FilterInfo* fi = nullptr;
  AVS_Clip* clip = avs_new_c_filter(env, &fi, avs_void, 0);
  fi->vi = source.vi;
  fi->user_data = const_cast<Source*>(&source);
  fi->get_frame = ServeFrame;
  fi->get_parity = NoParity;
  fi->get_audio = NoAudio;
  fi->set_cache_hints = SourceCacheHints;
  fi->free_filter = NothingToFree;
  AVS_Value result;
  avs_set_to_clip(&result, clip);
  avs_release_clip(clip);
  return result;
}

}  // namespace

AviSynthHost::AviSynthHost() : env_(avs_create_script_environment(AVISYNTH_INTERFACE_VERSION)) {
  if (const char* error = avs_get_error(env_)) {
    throw std::runtime_error(std::string("avs_create_script_environment: ") + error);
  }
  avs_add_function(env_, "VelmireTestSource", "i", CreateSource, &sources_);
  const Value loaded =
      Invoke("LoadPlugin", {{nullptr, avs_new_value_string(VELMIRE_AVISYNTHPLUS_PLUGIN)}});
  if (!loaded.Error().empty()) throw std::runtime_error("LoadPlugin: " + loaded.Error());
}

AviSynthHost::~AviSynthHost() {
  for (const MemorySource& source : sources_) {
    for (AVS_VideoFrame* frame : source.frames) avs_release_video_frame(frame);
  }
  avs_delete_script_environment(env_);
}

Value AviSynthHost::MemoryClip(const ClipBytes& clip, int pixelType, int broken) {
  MemorySource source{AVS_VideoInfo{}, {}, broken, BrokenFrameError(broken)};
  source.vi.width = clip.width;
  source.vi.height = clip.height;
  source.vi.fps_numerator = 30000;
  source.vi.fps_denominator = 1001;
  source.vi.num_frames = static_cast<int>(clip.frames.size());
  source.vi.pixel_type = pixelType;
  for (int n = 0; n < source.vi.num_frames; ++n) {
    AVS_VideoFrame* frame = avs_new_video_frame_a(env_, &source.vi, AVS_FRAME_ALIGN);
    const FrameBytes& bytes = clip.frames[n];
    if (clip.format.layout == Layout::kYUY2) {
      CopyIn(bytes.y, frame, AVS_DEFAULT_PLANE);
    } else {
      CopyIn(bytes.y, frame, kPlanes[0]);
      CopyIn(bytes.u, frame, kPlanes[1]);
      CopyIn(bytes.v, frame, kPlanes[2]);
    }
    AVS_Map* properties = avs_get_frame_props_rw(env_, frame);
    avs_prop_set_int(env_, properties, kFrameNumberProperty, n, 0);
    avs_prop_set_int(env_, properties, "_FieldBased", kFieldBased, 0);
    source.frames.push_back(frame);
  }
  sources_.push_back(std::move(source));
  Value value = Invoke("VelmireTestSource",
                       {{nullptr, avs_new_value_int(static_cast<int>(sources_.size()) - 1)}});
  if (!value.IsClip()) throw std::runtime_error("VelmireTestSource: " + value.Error());
  return value;
}

std::string AviSynthHost::BrokenFrameError(int n) const {
  return "VelmireTestSource: frame " + std::to_string(n) + " is broken";
}

Value AviSynthHost::Invoke(const char* name,
                           const std::vector<std::pair<const char*, AVS_Value>>& args) {
  std::vector<AVS_Value> values;
  std::vector<const char*> names;
  for (const auto& [argName, value] : args) {
    names.push_back(argName);
    values.push_back(value);
  }
  return Value(avs_invoke(env_, name,
                          avs_new_value_array(values.data(), static_cast<int>(values.size())),
                          names.data()));
}

Value AviSynthHost::BlankClip(const char* pixelType) {
  return Invoke("BlankClip", {{"length", avs_new_value_int(5)},
                              {"width", avs_new_value_int(64)},
                              {"height", avs_new_value_int(32)},
                              {"pixel_type", avs_new_value_string(pixelType)}});
}

Value AviSynthHost::Velmire(const Value& clip,
                            const std::vector<std::pair<const char*, AVS_Value>>& named) {
  std::vector<std::pair<const char*, AVS_Value>> args{{nullptr, clip.get()}};
  args.insert(args.end(), named.begin(), named.end());
  return Invoke("Velmire", args);
}

Value AviSynthHost::Prefetch(const Value& clip, int threads) {
  return Invoke("Prefetch", {{nullptr, clip.get()}, {nullptr, avs_new_value_int(threads)}});
}

Fetched AviSynthHost::Frame(const Value& clip, int n) {
  Fetched fetched;
  AVS_Clip* c = avs_take_clip(clip.get(), env_);
  AVS_VideoFrame* frame = avs_get_frame(c, n);
  if (!frame) {
    const char* error = avs_clip_get_error(c);
    fetched.error = error ? error : "no frame and no error";
    avs_release_clip(c);
    return fetched;
  }
  if (avs_is_yuy2(avs_get_video_info(c))) {
    fetched.bytes.y = CopyOut(frame, AVS_DEFAULT_PLANE);
  } else {
    fetched.bytes = FrameBytes{CopyOut(frame, kPlanes[0]), CopyOut(frame, kPlanes[1]),
                               CopyOut(frame, kPlanes[2])};
  }
  const AVS_Map* properties = avs_get_frame_props_ro(env_, frame);
  int error = 0;
  fetched.frameProperty = avs_prop_get_int(env_, properties, kFrameNumberProperty, 0, &error);
  fetched.fieldBased = avs_prop_get_int(env_, properties, "_FieldBased", 0, &error);
  avs_release_video_frame(frame);
  avs_release_clip(c);
  return fetched;
}

}  // namespace velmire::testing
