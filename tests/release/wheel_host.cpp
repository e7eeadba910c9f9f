// A program on the VapourSynth core as a wheel installation lays it out: the core library
// opened from SITE/vapoursynth/ (where VapourSynth's own wheel puts it), a core created with
// plug-in autoloading on, so that it loads SITE/vapoursynth/plugins/, where the Velmire wheel put
// its library. It checks that the core registered `velmire` at the release's version, filters
// an 8-bit 4:2:0 or 4:2:2 YUV4MPEG2 clip with the default settings and writes the result as
// YUV4MPEG2 (header and FRAME lines as read), for comparison with the tool's output.
//
//   release_wheel_host SITE/vapoursynth/libvapoursynth.so.4 INPUT.y4m OUTPUT.y4m
#include <VapourSynth4.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Clip {
  std::string header;             // the stream header line, with its newline
  std::vector<std::string> marks; // each frame's FRAME line, with its newline
  std::vector<std::string> frames;
  int width = 0, height = 0;
  bool is422 = false;
};

int HeaderNumber(const std::string& header, char tag) {
  const size_t at = header.find(std::string(" ") + tag);
  return at == std::string::npos ? 0 : std::stoi(header.substr(at + 2));
}

Clip ReadClip(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  Clip clip;
  size_t at = bytes.find('\n') + 1;
  clip.header = bytes.substr(0, at);
  clip.width = HeaderNumber(clip.header, 'W');
  clip.height = HeaderNumber(clip.header, 'H');
  clip.is422 = clip.header.find(" C422") != std::string::npos;
  const size_t size = static_cast<size_t>(clip.width) * clip.height * (clip.is422 ? 4 : 3) / 2;
  while (at < bytes.size()) {
    const size_t mark = bytes.find('\n', at) + 1;
    clip.marks.push_back(bytes.substr(at, mark - at));
    clip.frames.push_back(bytes.substr(mark, size));
    at = mark + size;
  }
  return clip;
}

struct Source {
  const VSAPI* api;
  const Clip* clip;
  VSVideoFormat format;
};

// Copies the planes of frame n, in the file's order (Y, U, V), into a new frame or out of one.
void CopyPlanes(const Source& s, int n, VSFrame* into, const VSFrame* from, std::string* out) {
  const char* data = s.clip->frames[n].data();
  for (int plane = 0; plane < 3; ++plane) {
    const VSFrame* frame = into ? into : from;
    const int width = s.api->getFrameWidth(frame, plane);
    const int height = s.api->getFrameHeight(frame, plane);
    const ptrdiff_t stride = s.api->getStride(frame, plane);
    for (int row = 0; row < height; ++row, data += width) {
      if (into) std::memcpy(s.api->getWritePtr(into, plane) + row * stride, data, width);
      if (out) out->append(reinterpret_cast<const char*>(s.api->getReadPtr(from, plane)) +
                           row * stride, width);
    }
  }
}

const VSFrame* VS_CC ServeFrame(int n, int reason, void* data, void**, VSFrameContext*,
                                VSCore* core, const VSAPI* api) {
  if (reason != arInitial) return nullptr;
  const auto& source = *static_cast<const Source*>(data);
  VSFrame* frame = api->newVideoFrame(&source.format, source.clip->width, source.clip->height,
                                      nullptr, core);
  CopyPlanes(source, n, frame, nullptr, nullptr);
  return frame;
}

int Fail(const std::string& message) {
  std::cerr << "release_wheel_host: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: release_wheel_host LIBVAPOURSYNTH INPUT.y4m OUTPUT.y4m");
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) return Fail(dlerror());
  using GetApi = const VSAPI*(VS_CC*)(int);
  const auto getApi = reinterpret_cast<GetApi>(dlsym(library, "getVapourSynthAPI"));
  const VSAPI* api = getApi ? getApi(VAPOURSYNTH_API_VERSION) : nullptr;
  if (!api) return Fail("no API 4 in " + std::string(argv[1]));

  VSCore* core = api->createCore(0);  // autoloading on
  VSPlugin* plugin = api->getPluginByNamespace("velmire", core);
  if (!plugin) return Fail("the core loaded no plug-in of namespace velmire");
  const int version = api->getPluginVersion(plugin);
  if (version != VS_MAKE_VERSION(VELMIRE_VERSION_MAJOR, VELMIRE_VERSION_MINOR)) {
    return Fail("the plug-in's version is " + std::to_string(version));
  }

  const Clip clip = ReadClip(argv[2]);
  Source source{api, &clip, {}};
  api->queryVideoFormat(&source.format, cfYUV, stInteger, 8, 1, clip.is422 ? 0 : 1, core);
  VSVideoInfo vi{source.format, 30000, 1001, clip.width, clip.height,
                 static_cast<int>(clip.frames.size())};
  VSNode* input = api->createVideoFilter2("WheelHostSource", &vi, ServeFrame, nullptr,
                                          fmParallel, nullptr, 0, &source, core);
  VSMap* arguments = api->createMap();
  api->mapConsumeNode(arguments, "clip", input, maReplace);
  VSMap* result = api->invoke(plugin, "Velmire", arguments);
  api->freeMap(arguments);
  if (const char* error = api->mapGetError(result)) return Fail(error);
  VSNode* filtered = api->mapGetNode(result, "clip", 0, nullptr);
  api->freeMap(result);

  std::string out = clip.header;
  for (int n = 0; n < vi.numFrames; ++n) {
    char error[1024] = "";
    const VSFrame* frame = api->getFrame(n, filtered, error, sizeof error);
    if (!frame) return Fail(error);
    out += clip.marks[n];
    CopyPlanes(source, n, nullptr, frame, &out);
    api->freeFrame(frame);
  }
  api->freeNode(filtered);
  api->freeCore(core);
  std::ofstream(argv[3], std::ios::binary) << out;
  return 0;
}
