// The filter's output bytes, pinned: SHA-256 of the output of fixed generated clips in every
// format and depth, both modes and Debug, under several settings. The table holds on every
// processor and kernel set; a change to it is a change of behaviour and must be meant.
// VELMIRE_PRINT_DIGESTS=1 prints the table as this build computes it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "core/core_clip.h"
#include "support/sha256.h"

namespace velmire::testing {
namespace {

// Key: layout-bits ThresholdY:Noise:Margin:Mode[:debug]. Value: digest of both clip sizes.
const std::map<std::string, std::string> kDigests = {
#include "core/output_digests.inc"
};

struct Named {
  const char* name;
  SampleFormat format;
};

std::string Digest(const SampleFormat& format, const Settings& settings,
                   const KernelSet& kernels) {
  Sha256 sha;
  for (auto [width, height, seed] : {std::tuple{64, 24, 7u}, std::tuple{70, 18, 11u}}) {
    const Layout planar = format.layout == Layout::kYUY2 ? Layout::kPlanar422 : format.layout;
    auto frames = DetailFrames(planar, width, height, 0, seed);
    for (Frame& f : frames) {
      if (format.layout == Layout::kYUY2) f = PackedYUY2(f, 0);
      if (format.bitsPerSample > 8) f = Deepened(f, format.bitsPerSample - 8, 0);
    }
    const Frame out = Filtered(frames, format, settings, kernels);
    for (const Plane* p : {&out.y, &out.u, &out.v}) sha.Add(p->bytes.data(), p->bytes.size());
  }
  return sha.HexDigest();
}

TEST(OutputDigests, EveryFormatModeAndSettingGivesThePinnedBytes) {
  std::vector<Named> formats = {{"yuy2-8", {Layout::kYUY2, 8}}};
  for (int bits : {8, 9, 10, 12, 14, 16}) {
    formats.push_back({"", {Layout::kPlanar420, bits}});
    formats.push_back({"", {Layout::kPlanar422, bits}});
  }
  const Settings settings[] = {
      Settings::Clamped(30, 60, 1, false, 0), Settings::Clamped(30, 60, 1, true, 0),
      Settings::Clamped(0, 255, 4, false, 0), Settings::Clamped(20, 90, 2, false, 0),
      Settings::Clamped(30, 60, 1, false, 1), Settings::Clamped(10, 200, 4, false, 1),
      Settings::Clamped(20, 90, 0, false, 1)};
  std::string table, failures;
  for (const Named& named : formats) {
    const std::string format =
        named.name[0] ? named.name
                      : (named.format.layout == Layout::kPlanar420 ? "420-" : "422-") +
                            std::to_string(named.format.bitsPerSample);
    for (const Settings& s : settings) {
      const std::string key = format + " " + std::to_string(s.ThresholdY) + ":" +
                              std::to_string(s.Noise) + ":" + std::to_string(s.Margin) + ":" +
                              std::to_string(s.Mode) + (s.Debug ? ":debug" : "");
      for (const KernelSet* kernels : AvailableKernels()) {
        const std::string digest = Digest(named.format, s, *kernels);
        if (kernels == AvailableKernels().front()) {
          table += "    {\"" + key + "\", \"" + digest + "\"},\n";
        }
        const auto pinned = kDigests.find(key);
        if (pinned == kDigests.end() || pinned->second != digest) {
          failures += key + " (" + std::string(KernelSetName(*kernels)) + ")\n";
        }
      }
    }
  }
  if (std::getenv("VELMIRE_PRINT_DIGESTS")) std::printf("%s", table.c_str());
  EXPECT_TRUE(failures.empty()) << "outputs that differ from the table:\n" << failures;
}

}  // namespace
}  // namespace velmire::testing
