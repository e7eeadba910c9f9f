// The fingerprint of a run over a clip, which every segment of the run carries in its header
// so that segments of different runs are told apart when they are joined: a short hash of the
// input's header, of its first frame, of the filter settings and of the tool's version. Two
// captures of the same format differ in their first frames; the kernels, the thread count and
// the machine do not change the output, so they are left out.
#pragma once

#include <string>

#include "base/settings.h"
#include "tool/y4m/y4m_frame.h"

namespace velmire::cli {

// 16 hexadecimal digits. `first_frame` is null for a clip without frames.
std::string RunFingerprint(const std::string& header_line, const Y4mFrame* first_frame,
                           const Settings& settings);

}  // namespace velmire::cli
