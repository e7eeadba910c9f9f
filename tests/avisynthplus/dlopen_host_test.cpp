// The AviSynth+ plug-in in a program that opens libavisynth itself, privately (dlopen with
// RTLD_LOCAL), as programs that load AviSynth+ only when a script needs it do: AviSynth+'s
// functions are then outside the global scope, and the plug-in, which links nothing of
// AviSynth+, must take them from the library that loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>


#define AVSC_NO_DECLSPEC
#include <avisynth_c.h>

namespace {

// The functions this host calls, looked up in the privately opened library. The library stays
// loaded to the end, as in such a program (and so the leak checker still sees its data).
struct AviSynth {
  void* library = dlopen(VELMIRE_LIBAVISYNTH, RTLD_NOW | RTLD_LOCAL);
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(dlsym(library, name));
  }
  avs_create_script_environment_func create =
      Get<avs_create_script_environment_func>("avs_create_script_environment");
  avs_delete_script_environment_func destroy =
      Get<avs_delete_script_environment_func>("avs_delete_script_environment");
  avs_invoke_func invoke = Get<avs_invoke_func>("avs_invoke");
  avs_release_value_func release = Get<avs_release_value_func>("avs_release_value");
  avs_take_clip_func takeClip = Get<avs_take_clip_func>("avs_take_clip");
  avs_release_clip_func releaseClip = Get<avs_release_clip_func>("avs_release_clip");
  avs_get_frame_func getFrame = Get<avs_get_frame_func>("avs_get_frame");
  avs_clip_get_error_func clipError = Get<avs_clip_get_error_func>("avs_clip_get_error");
  avs_get_row_size_p_func rowSize = Get<avs_get_row_size_p_func>("avs_get_row_size_p");
  avs_release_video_frame_func releaseFrame =
      Get<avs_release_video_frame_func>("avs_release_video_frame");
};

TEST(AviSynthPlusOpenedPrivately, PluginLoadsAndFilters) {
  const AviSynth avs;
  ASSERT_NE(avs.library, nullptr) << dlerror();
  ASSERT_EQ(dlsym(RTLD_DEFAULT, "avs_invoke"), nullptr) << "libavisynth is in the global scope";
  AVS_ScriptEnvironment* env = avs.create(AVISYNTH_INTERFACE_VERSION);
  ASSERT_NE(env, nullptr);

  auto call = [&](const char* name, AVS_Value argument) {
    const char* noNames[] = {nullptr};
    return avs.invoke(env, name, avs_new_value_array(&argument, 1), noNames);
  };
  const AVS_Value loaded = call("LoadPlugin", avs_new_value_string(VELMIRE_AVISYNTHPLUS_PLUGIN));
  EXPECT_FALSE(avs_is_error(loaded)) << avs_as_error(loaded);
  avs.release(loaded);

  AVS_Value blankArguments[] = {avs_new_value_int(32), avs_new_value_int(16),
                                avs_new_value_string("YV16")};
  const char* blankNames[] = {"width", "height", "pixel_type"};
  const AVS_Value blank =
      avs.invoke(env, "BlankClip", avs_new_value_array(blankArguments, 3), blankNames);
  ASSERT_TRUE(avs_is_clip(blank));
  const AVS_Value filtered = call("Velmire", blank);
  ASSERT_TRUE(avs_is_clip(filtered)) << (avs_is_error(filtered) ? avs_as_error(filtered) : "");

  AVS_Clip* clip = avs.takeClip(filtered, env);
  AVS_VideoFrame* frame = avs.getFrame(clip, 0);
  ASSERT_NE(frame, nullptr) << avs.clipError(clip);
  EXPECT_EQ(avs.rowSize(frame, AVS_PLANAR_Y), 32);
  avs.releaseFrame(frame);
  avs.releaseClip(clip);
  avs.release(filtered);
  avs.release(blank);
  avs.destroy(env);
}

}  // namespace
