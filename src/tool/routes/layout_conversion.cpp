#include "tool/routes/layout_conversion.h"

#include <cstddef>

#include "core/plane_views.h"

namespace velmire::cli {

void CopyPlane(ConstPlaneRows src, PlaneRows dst, int row_bytes, int rows) {
  velmire::CopyPlane(PlaneView{src.data, src.pitch, row_bytes, rows}, {dst.data, dst.pitch});
}

void StreamFrameToI420(const std::uint8_t* frame, int width, int height, PlaneRows y,
                       PlaneRows u, PlaneRows v) {
  const int cw = width / 2, ch = height / 2;
  const std::uint8_t* src_u = frame + std::size_t(width) * std::size_t(height);
  const std::uint8_t* src_v = src_u + std::size_t(cw) * std::size_t(ch);
  CopyPlane({frame, width}, y, width, height);
  CopyPlane({src_u, cw}, u, cw, ch);
  CopyPlane({src_v, cw}, v, cw, ch);
}

void I420ToStreamFrame(ConstPlaneRows y, ConstPlaneRows u, ConstPlaneRows v, int width,
                       int height, std::uint8_t* frame) {
  const int cw = width / 2, ch = height / 2;
  std::uint8_t* dst_u = frame + std::size_t(width) * std::size_t(height);
  std::uint8_t* dst_v = dst_u + std::size_t(cw) * std::size_t(ch);
  CopyPlane(y, {frame, width}, width, height);
  CopyPlane(u, {dst_u, cw}, cw, ch);
  CopyPlane(v, {dst_v, cw}, cw, ch);
}

void StreamFrameToYUY2(const std::uint8_t* frame, int width, int height, PlaneRows yuy2) {
  const int cw = width / 2;
  const std::uint8_t* plane_u = frame + std::size_t(width) * std::size_t(height);
  const std::uint8_t* plane_v = plane_u + std::size_t(cw) * std::size_t(height);
  for (int r = 0; r < height; ++r) {
    const std::uint8_t* y = frame + std::size_t(r) * std::size_t(width);
    const std::uint8_t* u = plane_u + std::size_t(r) * std::size_t(cw);
    const std::uint8_t* v = plane_v + std::size_t(r) * std::size_t(cw);
    std::uint8_t* out = yuy2.data + r * yuy2.pitch;
    for (int i = 0; i < cw; ++i) {
      out[4 * i + 0] = y[2 * i];
      out[4 * i + 1] = u[i];
      out[4 * i + 2] = y[2 * i + 1];
      out[4 * i + 3] = v[i];
    }
  }
}

void YUY2ToStreamFrame(ConstPlaneRows yuy2, int width, int height, std::uint8_t* frame) {
  const int cw = width / 2;
  std::uint8_t* plane_u = frame + std::size_t(width) * std::size_t(height);
  std::uint8_t* plane_v = plane_u + std::size_t(cw) * std::size_t(height);
  for (int r = 0; r < height; ++r) {
    std::uint8_t* y = frame + std::size_t(r) * std::size_t(width);
    std::uint8_t* u = plane_u + std::size_t(r) * std::size_t(cw);
    std::uint8_t* v = plane_v + std::size_t(r) * std::size_t(cw);
    const std::uint8_t* in = yuy2.data + r * yuy2.pitch;
    for (int i = 0; i < cw; ++i) {
      y[2 * i] = in[4 * i + 0];
      u[i] = in[4 * i + 1];
      y[2 * i + 1] = in[4 * i + 2];
      v[i] = in[4 * i + 3];
    }
  }
}

}  // namespace velmire::cli
