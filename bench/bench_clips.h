// The clips the benchmark filters: three frame formats, each with three contents.
#pragma once

#include <vector>

#include "host/plugin_interface.h"
#include "host/script_environment.h"

namespace velmire::bench {

struct BenchFormat {
  const char* name;
  int pixelType;
  int width;
  int height;
};

const std::vector<BenchFormat>& BenchFormats();

enum class Content {
  kFlat,     // one grey everywhere: no marks, the pass is mask building and the copy
  kNatural,  // the demo clip: fine detail with cross-colour next to flat areas
  kDense,    // random pixels: nearly every block marked and searched
};

const char* ContentName(Content content);
inline constexpr Content kContents[] = {Content::kFlat, Content::kNatural, Content::kDense};

// Frames held in a memory clip, made in `env`.
inline constexpr int kClipFrames = 4;
PClip MakeBenchClip(host::ScriptEnvironment& env, const BenchFormat& format, Content content);

}  // namespace velmire::bench
