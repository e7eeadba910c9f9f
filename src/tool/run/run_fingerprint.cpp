#include "tool/run/run_fingerprint.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "tool/run/tool_version.h"

namespace velmire::cli {
namespace {

// 64-bit FNV-1a: a fingerprint against mix-ups, not against forgery.
class Fnv1a {
 public:
  void Add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) hash_ = (hash_ ^ bytes[i]) * 0x100000001b3u;
  }
  // Each field with its length in front, so that moving bytes between fields changes the hash.
  void AddField(std::string_view text) {
    AddNumber(text.size());
    Add(text.data(), text.size());
  }
  void AddNumber(std::uint64_t n) { Add(&n, sizeof n); }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325u;
};

}  // namespace

std::string RunFingerprint(const std::string& header_line, const Y4mFrame* first_frame,
                           const Settings& settings) {
  Fnv1a hash;
  hash.AddField(header_line);
  hash.AddNumber(first_frame != nullptr);
  if (first_frame) {
    hash.AddField(first_frame->frame_line);
    hash.AddNumber(first_frame->data.size());
    hash.Add(first_frame->data.data(), first_frame->data.size());
  }
  // As the filter uses them: values it clamps alike give the same output.
  const Settings used = Settings::Clamped(settings);
  for (const int value : {used.ThresholdY, used.Noise, used.Margin, int(used.Debug), used.Mode}) {
    hash.AddNumber(std::uint64_t(value));
  }
  hash.AddField(ToolVersion());
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash.value()));
  return digits;
}

}  // namespace velmire::cli
