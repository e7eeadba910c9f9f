// The filter core over frames in the stream's byte order (the Y plane, then U, then V, rows
// packed): what the tool and the settings sweep filter with.
#pragma once

#include <cstdint>
#include <vector>

#include "base/frame_view.h"
#include "base/settings.h"
#include "core/kernel_set.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::cli {

// The core's format for frames of geometry g.
SampleFormat StreamSampleFormat(const FrameGeometry& g);

// Output frame n from frames n-1, n and n+1 of geometry g, all in stream order, and frames
// n-2 and n+2 (`before2`, `after2`) that the stronger mode reads (null for the others).
// `settings` must be clamped already. Throws std::bad_alloc, and std::invalid_argument for a
// format the core does not filter.
std::vector<std::uint8_t> FilterStreamFrame(const FrameGeometry& g, const Settings& settings,
                                            const KernelSet& kernels,
                                            const std::uint8_t* previous,
                                            const std::uint8_t* current,
                                            const std::uint8_t* next,
                                            const std::uint8_t* before2 = nullptr,
                                            const std::uint8_t* after2 = nullptr);

}  // namespace velmire::cli
