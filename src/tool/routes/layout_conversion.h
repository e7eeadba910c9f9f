// Conversions between frames in stream order (Y plane, U plane, V plane, rows packed) and the
// host's frame layouts: I420 planes with their own pitches, and packed YUY2 rows
// (Y0 U Y1 V per pair of pixels). Pure functions on pointers and pitches.
#pragma once

#include <cstdint>

#include "tool/y4m/stream_frame_view.h"

namespace velmire::cli {

void CopyPlane(ConstPlaneRows src, PlaneRows dst, int row_bytes, int rows);

// 4:2:0 frame of width x height (both even) to and from three I420 planes.
void StreamFrameToI420(const std::uint8_t* frame, int width, int height, PlaneRows y,
                       PlaneRows u, PlaneRows v);
void I420ToStreamFrame(ConstPlaneRows y, ConstPlaneRows u, ConstPlaneRows v, int width,
                       int height, std::uint8_t* frame);

// 4:2:2 frame of width (even) x height to and from YUY2 rows of 2 * width bytes.
void StreamFrameToYUY2(const std::uint8_t* frame, int width, int height, PlaneRows yuy2);
void YUY2ToStreamFrame(ConstPlaneRows yuy2, int width, int height, std::uint8_t* frame);

}  // namespace velmire::cli
