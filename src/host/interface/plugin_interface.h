// Everything a plug-in sees of the frame server: formats, frames, clips, values and services.
#pragma once

#include "host/interface/abi.h"
#include "host/interface/avs_value.h"
#include "host/interface/clip.h"
#include "host/interface/clip_base.h"
#include "host/interface/generic_video_filter.h"
#include "host/interface/handles.h"
#include "host/interface/script_environment.h"
#include "host/interface/video_frame.h"
#include "host/interface/video_info.h"

namespace velmire {

// The plug-in entry point: registers the plug-in's functions; returns a string or null.
using PluginInitFunc = const char*(VELMIRE_STDCALL*)(IScriptEnvironment* env);

}  // namespace velmire
