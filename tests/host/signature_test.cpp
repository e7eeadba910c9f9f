#include "host/signature.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "support/test_clips.h"

namespace velmire::host {
namespace {

using velmire::testing::MakeClip;
using velmire::testing::MakeVideoInfo;

constexpr const char* kSignature = "c[ThresholdY]i[Noise]i[Margin]i[Debug]b";

TEST(Signature, ParsesNamesTypesAndOptionality) {
  const auto p = ParseSignature(kSignature);
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0].type, 'c');
  EXPECT_FALSE(p[0].optional);
  EXPECT_EQ(p[1].name, "ThresholdY");
  EXPECT_EQ(p[4].name, "Debug");
  EXPECT_EQ(p[4].type, 'b');
  EXPECT_TRUE(p[4].optional);
}

TEST(Signature, RefusesMalformedSignatures) {
  for (const char* bad : {"x", "[Name", "[]i", "[Name]", "c[A]q"})
    EXPECT_THROW(ParseSignature(bad), HostError) << bad;
}

struct BindCase {
  const char* what;
  int positionalInts;  // ints given after the clip
  NamedArguments named;
  const char* error;   // expected message fragment, or nullptr when binding succeeds
};

TEST(Signature, BindsOrRefusesCalls) {
  ScriptEnvironment env;
  const PClip clip = MakeClip(env, MakeVideoInfo(VideoInfo::CS_YUY2, 64, 8, 1),
                              [](int, int, int, int) { return uint8_t{16}; });
  const std::vector<BindCase> cases = {
      {"clip only", 0, {}, nullptr},
      {"named margin", 0, {{"margin", AVSValue(3)}}, nullptr},
      {"positional ints", 3, {}, nullptr},
      {"unknown name", 0, {{"Strength", AVSValue(3)}}, "does not have a named argument \"Strength\""},
      {"wrong type", 0, {{"Noise", AVSValue(true)}}, "argument 3 (Noise) must be an int"},
      {"repeated", 1, {{"ThresholdY", AVSValue(3)}}, "given more than once"},
      {"surplus", 5, {}, "too many arguments"},
  };
  const auto params = ParseSignature(kSignature);
  for (const BindCase& c : cases) {
    std::vector<AVSValue> positional{AVSValue(clip)};
    for (int i = 0; i < c.positionalInts; ++i) positional.emplace_back(i);
    if (!c.error) {
      const auto bound = BindArguments("Velmire", params, positional, c.named);
      ASSERT_EQ(bound.size(), 5u) << c.what;
      EXPECT_TRUE(bound[0].IsClip()) << c.what;
      continue;
    }
    try {
      BindArguments("Velmire", params, positional, c.named);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const HostError& e) {
      EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << c.what << ": " << e.what();
    }
  }
}

TEST(Signature, OmittedOptionalArgumentsAreUndefinedAndAMissingClipIsRefused) {
  ScriptEnvironment env;
  const PClip clip = MakeClip(env, MakeVideoInfo(VideoInfo::CS_YUY2, 64, 8, 1),
                              [](int, int, int, int) { return uint8_t{16}; });
  const auto params = ParseSignature(kSignature);
  const auto bound = BindArguments("Velmire", params, {AVSValue(clip)}, {{"Margin", AVSValue(2)}});
  EXPECT_EQ(bound[1].Type(), 'v');
  EXPECT_EQ(bound[3].AsInt(), 2);
  EXPECT_EQ(bound[4].Type(), 'v');
  EXPECT_THROW(BindArguments("Velmire", params, {}, {}), HostError);
  EXPECT_THROW(BindArguments("Velmire", params, {AVSValue(5)}, {}), HostError);
}

}  // namespace
}  // namespace velmire::host
