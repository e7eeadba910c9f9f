// Frames in stream order to and from the host's frames: 4:2:0 as I420, 4:2:2 as YUY2.
#pragma once

#include <cstdint>
#include <optional>

#include "tool/y4m/y4m_header.h"
#include "host/interface/plugin_interface.h"

namespace velmire::cli {

// The clip format for a stream: I420 or YUY2, frame rate and field order from the header
// (25 fps when it has none), no audio. `frames` is the clip length when known.
VideoInfo MakeVideoInfo(const Y4mHeader& header, std::optional<std::int64_t> frames);

// A new host frame holding `data` (one frame in stream order of geometry g).
PVideoFrame ToHostFrame(IScriptEnvironment& env, const VideoInfo& vi, const FrameGeometry& g,
                        const std::uint8_t* data);

// Writes a host frame of geometry g into `out` in stream order.
void FromHostFrame(const VideoFrame& frame, const FrameGeometry& g, std::uint8_t* out);

}  // namespace velmire::cli
