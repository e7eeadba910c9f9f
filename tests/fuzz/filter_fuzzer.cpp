// Fuzzes the whole filter through the host layer: random geometry (small sizes of every
// remainder, random extra pitch), random settings and pixels, both layouts. Every kernel set
// must give the portable set's bytes, and no byte outside a plane may be read or written
// (the padding is poisoned; see fuzz_frames.h).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fuzz_frames.h"
#include "host/memory_clip.h"
#include "host/script_environment.h"
#include "plugin/filter.h"

namespace {

using namespace velmire;

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  uint8_t Byte() { return pos < size ? data[pos++] : 0; }
};

std::vector<uint8_t> Planes(const PVideoFrame& f) {
  std::vector<uint8_t> out;
  for (const int plane : {PLANAR_Y, PLANAR_U, PLANAR_V}) {
    const uint8_t* base = f->GetReadPtr(plane);
    for (int y = 0; y < f->GetHeight(plane); ++y)
      out.insert(out.end(), base + y * f->GetPitch(plane),
                 base + y * f->GetPitch(plane) + f->GetRowSize(plane));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const bool planar = in.Byte() & 1;
  const int width = 1 + in.Byte() % 96;  // pixels
  const int height = 1 + in.Byte() % 24;
  const int extraPitch = in.Byte() % 40;
  const int frames = 1 + in.Byte() % 3;
  const int thresholdY = in.Byte() - 8;  // a few out-of-range values too
  const int noise = in.Byte() * 2 - 100;
  const int margin = in.Byte() % 7 - 1;
  const bool debug = (in.Byte() & 7) == 0;
  const int request = static_cast<int8_t>(in.Byte());

  host::ScriptEnvironment env;
  fuzz::FuzzFrameStore store;
  VideoInfo vi;
  vi.width = width;
  vi.height = height;
  vi.num_frames = frames;
  vi.pixel_type = planar ? VideoInfo::CS_YV12 : VideoInfo::CS_YUY2;
  const int rowSize = planar ? width : width * 2;
  std::vector<PVideoFrame> list;
  size_t cursor = 0;
  for (int i = 0; i < frames; ++i)
    list.push_back(store.Make(planar, rowSize, height, extraPitch, data + in.pos, size - in.pos,
                              cursor));
  const PClip source(new host::MemoryClip(vi, std::move(list)));

  std::vector<uint8_t> expected;
  for (const KernelSet* kernels : AvailableKernels()) {
    const PClip filter(
        new CrossColorFilter(source, thresholdY, noise, margin, debug, &env, *kernels));
    std::vector<uint8_t> got;
    try {
      got = Planes(filter->GetFrame(request, &env));
    } catch (const host::HostError&) {
      got = {0xEE};  // refused frames (e.g. planar frames without chroma) must be refused alike
    }
    if (kernels == &PortableKernels()) {
      expected = got;
    } else if (got != expected) {
      std::fprintf(stderr, "kernel set %s differs from the portable one\n",
                   KernelSetName(*kernels).data());
      std::abort();
    }
  }
  return 0;
}
