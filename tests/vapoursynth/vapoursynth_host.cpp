#include "vapoursynth_host.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace velmire::testing {

// Messages of warning level and above, from any of the core's threads.
struct WarningLog {
  std::mutex mutex;
  std::vector<std::string> messages;
};

namespace {

constexpr const char* kPluginIdentifier = "org.velmire.velmire";

void VS_CC LogWarnings(int msgType, const char* msg, void* userData) {
  if (msgType < mtWarning) return;
  auto& log = **static_cast<std::shared_ptr<WarningLog>*>(userData);
  const std::lock_guard lock(log.mutex);
  log.messages.emplace_back(msg);
}

void VS_CC FreeWarningLog(void* userData) {
  delete static_cast<std::shared_ptr<WarningLog>*>(userData);
}

// The memory source: frames made once, handed out by reference.
struct MemorySource {
  std::vector<const VSFrame*> frames;
};

const VSFrame* VS_CC ServeFrame(int n, int activationReason, void* instanceData, void**,
                                VSFrameContext*, VSCore*, const VSAPI* api) {
  if (activationReason != arInitial) return nullptr;
  return api->addFrameRef(static_cast<MemorySource*>(instanceData)->frames[n]);
}

void VS_CC FreeSource(void* instanceData, VSCore*, const VSAPI* api) {
  auto* source = static_cast<MemorySource*>(instanceData);
  for (const VSFrame* frame : source->frames) api->freeFrame(frame);
  delete source;
}

void CopyIn(const PlaneBytes& from, VSFrame* to, int plane, const VSAPI& api) {
  uint8_t* data = api.getWritePtr(to, plane);
  for (int row = 0; row < from.height; ++row) {
    std::memcpy(data + row * api.getStride(to, plane), from.Row(row), from.rowSize);
  }
}

PlaneBytes CopyOut(const VSFrame* frame, int plane, const VSAPI& api) {
  const int bytes = api.getVideoFrameFormat(frame)->bytesPerSample;
  PlaneBytes out{api.getFrameWidth(frame, plane) * bytes, api.getFrameHeight(frame, plane), {}};
  out.bytes.resize(static_cast<size_t>(out.rowSize) * out.height);
  const uint8_t* data = api.getReadPtr(frame, plane);
  for (int row = 0; row < out.height; ++row) {
    std::memcpy(out.Row(row), data + row * api.getStride(frame, plane), out.rowSize);
  }
  return out;
}

}  // namespace

VapourSynthHost::VapourSynthHost(int threads) : warnings_(std::make_shared<WarningLog>()) {
  api_ = getVapourSynthAPI(VAPOURSYNTH_API_VERSION);
  if (!api_) throw std::runtime_error("the VapourSynth library offers no API 4");
  core_ = api_->createCore(ccfDisableAutoLoading | ccfDisableLibraryUnloading);
  api_->addLogHandler(LogWarnings, FreeWarningLog, new std::shared_ptr<WarningLog>(warnings_),
                      core_);
  api_->setThreadCount(threads, core_);

  VSMap* arguments = api_->createMap();
  api_->mapSetData(arguments, "path", VELMIRE_VAPOURSYNTH_PLUGIN, -1, dtUtf8, maReplace);
  VSMap* result = api_->invoke(api_->getPluginByNamespace("std", core_), "LoadPlugin", arguments);
  api_->freeMap(arguments);
  const std::string error = api_->mapGetError(result) ? api_->mapGetError(result) : "";
  api_->freeMap(result);
  if (!error.empty()) throw std::runtime_error("std.LoadPlugin: " + error);
}

VapourSynthHost::~VapourSynthHost() {
  api_->freeCore(core_);
  const std::lock_guard lock(warnings_->mutex);
  for (const std::string& message : warnings_->messages) {
    ADD_FAILURE() << "the VapourSynth core warned: " << message;
  }
}

VSPlugin* VapourSynthHost::plugin() const {
  return api_->getPluginByID(kPluginIdentifier, core_);
}

NodeRef VapourSynthHost::Take(VSMap* result, Invoked* invoked) {
  NodeRef node(nullptr, NodeRelease{api_});
  if (const char* error = api_->mapGetError(result)) {
    if (!invoked) throw std::runtime_error(error);
    invoked->error = error;
  } else {
    node.reset(api_->mapGetNode(result, "clip", 0, nullptr));
  }
  api_->freeMap(result);
  return node;
}

NodeRef VapourSynthHost::MemoryClip(const ClipBytes& clip) {
  const bool packed = clip.format.layout == Layout::kYUY2;
  if (packed) throw std::invalid_argument("VapourSynth has no packed YUY2");
  VSVideoInfo vi{};
  api_->queryVideoFormat(&vi.format, cfYUV, stInteger, clip.format.bitsPerSample, 1,
                         clip.format.layout == Layout::kPlanar420 ? 1 : 0, core_);
  vi.fpsNum = 30000;
  vi.fpsDen = 1001;
  vi.width = clip.width;
  vi.height = clip.height;
  vi.numFrames = static_cast<int>(clip.frames.size());

  auto* source = new MemorySource;
  for (int n = 0; n < vi.numFrames; ++n) {
    VSFrame* frame = api_->newVideoFrame(&vi.format, vi.width, vi.height, nullptr, core_);
    CopyIn(clip.frames[n].y, frame, 0, *api_);
    CopyIn(clip.frames[n].u, frame, 1, *api_);
    CopyIn(clip.frames[n].v, frame, 2, *api_);
    VSMap* properties = api_->getFramePropertiesRW(frame);
    api_->mapSetInt(properties, kFrameNumberProperty, n, maReplace);
    api_->mapSetInt(properties, "_FieldBased", kFieldBased, maReplace);
    source->frames.push_back(frame);
  }
  return NodeRef(api_->createVideoFilter2("VelmireTestMemoryClip", &vi, ServeFrame, FreeSource,
                                          fmParallel, nullptr, 0, source, core_),
                 NodeRelease{api_});
}

NodeRef VapourSynthHost::BlankClip(int presetFormat, int width, int height) {
  VSMap* arguments = api_->createMap();
  api_->mapSetInt(arguments, "format", presetFormat, maReplace);
  api_->mapSetInt(arguments, "width", width, maReplace);
  api_->mapSetInt(arguments, "height", height, maReplace);
  api_->mapSetInt(arguments, "length", 5, maReplace);
  VSMap* result = api_->invoke(api_->getPluginByNamespace("std", core_), "BlankClip", arguments);
  api_->freeMap(arguments);
  return Take(result);
}

NodeRef VapourSynthHost::Splice(VSNode* first, VSNode* second) {
  VSMap* arguments = api_->createMap();
  api_->mapSetNode(arguments, "clips", first, maAppend);
  api_->mapSetNode(arguments, "clips", second, maAppend);
  api_->mapSetInt(arguments, "mismatch", 1, maReplace);
  VSMap* result = api_->invoke(api_->getPluginByNamespace("std", core_), "Splice", arguments);
  api_->freeMap(arguments);
  return Take(result);
}

Invoked VapourSynthHost::Velmire(VSNode* clip,
                                 const std::vector<std::pair<const char*, int64_t>>& arguments) {
  VSMap* map = api_->createMap();
  api_->mapSetNode(map, "clip", clip, maReplace);
  for (const auto& [name, value] : arguments) api_->mapSetInt(map, name, value, maReplace);
  VSMap* result = api_->invoke(plugin(), "Velmire", map);
  api_->freeMap(map);
  Invoked invoked{NodeRef(nullptr, NodeRelease{api_}), {}};
  invoked.node = Take(result, &invoked);
  return invoked;
}

FrameRef VapourSynthHost::Frame(VSNode* node, int n) {
  char error[1024] = "";
  const VSFrame* frame = api_->getFrame(n, node, error, sizeof error);
  if (!frame) throw std::runtime_error(std::string("getFrame: ") + error);
  return FrameRef(frame, FrameRelease{api_});
}

std::vector<FrameBytes> VapourSynthHost::AllFrames(VSNode* node) {
  struct Collected {
    const VSAPI* api;
    VapourSynthHost* host;
    std::mutex mutex;
    std::condition_variable done;
    int pending;
    std::vector<FrameBytes> frames;
    std::string error;
  };
  const int count = api_->getVideoInfo(node)->numFrames;
  Collected collected{api_, this, {}, {}, count, std::vector<FrameBytes>(count), {}};
  auto callback = [](void* userData, const VSFrame* frame, int n, VSNode*, const char* error) {
    auto& c = *static_cast<Collected*>(userData);
    FrameBytes bytes = frame ? c.host->Bytes(frame) : FrameBytes{};
    if (frame) c.api->freeFrame(frame);
    const std::lock_guard lock(c.mutex);
    if (!frame) c.error = error ? error : "no frame";
    c.frames[n] = std::move(bytes);
    if (--c.pending == 0) c.done.notify_one();
  };
  for (int n = 0; n < count; ++n) api_->getFrameAsync(n, node, callback, &collected);
  std::unique_lock lock(collected.mutex);
  collected.done.wait(lock, [&] { return collected.pending == 0; });
  if (!collected.error.empty()) throw std::runtime_error("getFrameAsync: " + collected.error);
  return std::move(collected.frames);
}

FrameBytes VapourSynthHost::Bytes(const VSFrame* frame) const {
  return FrameBytes{CopyOut(frame, 0, *api_), CopyOut(frame, 1, *api_), CopyOut(frame, 2, *api_)};
}

}  // namespace velmire::testing
