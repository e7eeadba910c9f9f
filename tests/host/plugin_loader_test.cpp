#include "host/plugin_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/host_error.h"
#include "host/script_environment.h"
#include "support/test_clips.h"

namespace velmire::host {
namespace {

std::string MessageOf(const std::string& path) {
  try {
    OpenPluginLibrary(path);
  } catch (const HostError& e) {
    return e.what();
  }
  return "";
}

TEST(PluginLoader, RefusesMissingFilesAndLibrariesWithoutTheEntryPoint) {
  const std::string missing = MessageOf("/nonexistent/libnothing.so");
  EXPECT_NE(missing.find("cannot load plug-in \"/nonexistent/libnothing.so\""), std::string::npos)
      << missing;
  const std::string notPlugin = MessageOf(NOT_A_PLUGIN_PATH);
  EXPECT_NE(notPlugin.find("is not a plug-in: it has no entry point AvisynthPluginInit2"),
            std::string::npos)
      << notPlugin;
  // A bare name is looked up beside the caller, never on the system's search path.
  const std::string bare = MessageOf("libm.so.6");
  EXPECT_NE(bare.find("cannot load plug-in"), std::string::npos) << bare;
}

TEST(PluginLoader, LoadsTheBuiltPluginAndCallsItsEntryPointOnce) {
  const char* path = std::getenv("VELMIRE_PLUGIN");
  ASSERT_NE(path, nullptr);
  ScriptEnvironment env;
  env.LoadPlugin(path);
  const auto functions = env.Functions();
  ASSERT_EQ(functions.size(), 1u);
  EXPECT_EQ(functions[0].name, "Velmire");
  EXPECT_EQ(functions[0].params, "c[ThresholdY]i[Noise]i[Margin]i[Debug]b");
  EXPECT_EQ(functions[0].user_data, nullptr);

  // Called by name with named arguments, the library's filter serves frames of the input's size.
  const VideoInfo vi = velmire::testing::MakeVideoInfo(VideoInfo::CS_YV12, 64, 16, 2);
  const PClip source = velmire::testing::MakeClip(env, vi, velmire::testing::RandomFill(5));
  const PClip filter =
      env.Invoke("Velmire", {source}, {{"noise", AVSValue(10)}, {"Debug", AVSValue(true)}})
          .AsClip();
  ASSERT_TRUE(filter);
  EXPECT_EQ(filter->GetVideoInfo().width, 64);
  const PVideoFrame frame = filter->GetFrame(1, &env);
  EXPECT_EQ(velmire::testing::PlaneBytes(frame, PLANAR_Y),
            velmire::testing::PlaneBytes(source->GetFrame(1, &env), PLANAR_Y));
  EXPECT_THROW(env.Invoke("Velmire", {source}, {{"Strength", AVSValue(1)}}), HostError);
}

}  // namespace
}  // namespace velmire::host
