// Writes the frames the Linux build of the plug-in gives for the cases of host_cases.h, for
// the Microsoft-ABI test host to compare the Windows library's frames with.
//
//   velmire_expected_frames OUTPUT-FILE
//
// The plug-in is loaded from VELMIRE_LINUX_PLUGIN (its path in this build) and called through
// the in-process host, by name, with positional and named arguments as a script would.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <vector>

#include "host/script_environment.h"
#include "support/test_clips.h"
#include "windows/host_cases.h"

namespace {

using velmire::AVSValue;
using velmire::PClip;
using velmire::PVideoFrame;

void AppendFrame(std::vector<uint8_t>& out, const PVideoFrame& frame, bool planar) {
  std::vector<uint8_t> bytes = velmire::testing::PlaneBytes(frame, velmire::PLANAR_Y);
  if (planar) {
    for (const int plane : {velmire::PLANAR_U, velmire::PLANAR_V}) {
      const std::vector<uint8_t> chroma = velmire::testing::PlaneBytes(frame, plane);
      bytes.insert(bytes.end(), chroma.begin(), chroma.end());
    }
  }
  const uint32_t size = static_cast<uint32_t>(bytes.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(size >> shift));
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void AppendCase(std::vector<uint8_t>& out, velmire::host::ScriptEnvironment& env,
                const velmire_cases::Case& c) {
  const velmire::VideoInfo vi =
      velmire::testing::MakeVideoInfo(c.pixelType, c.width, c.height, c.frames);
  const int pixelType = c.pixelType;
  const PClip source =
      velmire::testing::MakeClip(env, vi, [pixelType](int frame, int plane, int x, int y) {
        return velmire_cases::PatternByte(pixelType, frame, plane, x, y);
      });
  std::vector<AVSValue> positional{AVSValue(source)};
  velmire::host::NamedArguments named;
  for (int i = 0; i < c.argumentCount; ++i) {
    const velmire_cases::Argument& a = c.arguments[i];
    const AVSValue value = a.type == 'b' ? AVSValue(a.value != 0) : AVSValue(a.value);
    if (a.name)
      named.emplace_back(a.name, value);
    else
      positional.push_back(value);
  }
  const PClip filter = env.Invoke("Velmire", positional, named).AsClip();
  for (int i = 0; i < c.requestCount; ++i)
    AppendFrame(out, filter->GetFrame(c.requests[i], &env), c.pixelType == velmire_cases::kPixelYV12);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FILE\n", argv[0]);
    return 2;
  }
  try {
    velmire::host::ScriptEnvironment env;
    env.LoadPlugin(VELMIRE_LINUX_PLUGIN);
    std::vector<uint8_t> out(std::begin(velmire_cases::kFileMagic),
                             std::end(velmire_cases::kFileMagic));
    for (const velmire_cases::Case& c : velmire_cases::kCases) AppendCase(out, env, c);
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file.flush()) {
      std::fprintf(stderr, "cannot write %s\n", argv[1]);
      return 1;
    }
    std::printf("wrote %zu bytes of expected frames for %d cases\n", out.size(),
                velmire_cases::kCaseCount);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "expected frames: %s\n", e.what());
    return 1;
  }
  return 0;
}
