#include "lab/clips/photo_library.h"

#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>

#include <jpeglib.h>
#include <span>
#include <stdexcept>
#include <vector>

#include "lab/clips/photo_bytes.h"
#include "lab/clips/procedural_texture.h"

namespace velmire::lab {
namespace {

std::span<const unsigned char> BytesOf(Photo photo) {
  switch (photo) {
    case Photo::kStreet: return kStreetJpeg;
    case Photo::kFacade: return kFacadeJpeg;
    case Photo::kFruit: return kFruitJpeg;
    case Photo::kCircuit: return kCircuitJpeg;
  }
  return {};
}

// libjpeg reports errors through a callback that must not return. The photographs are part of
// the program, so a decoding error means a broken build: say so and stop.
[[noreturn]] void Fail(j_common_ptr) {
  std::fputs("velmire: a built-in photograph does not decode (broken build)\n", stderr);
  std::abort();
}

std::vector<unsigned char> DecodeRgb(std::span<const unsigned char> jpeg, int& width, int& height) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.error_exit = Fail;
  jpeg_create_decompress(&info);
  std::vector<unsigned char> rgb;
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  info.dct_method = JDCT_ISLOW;  // the exact integer transform: the same bytes everywhere
  jpeg_start_decompress(&info);
  width = int(info.output_width);
  height = int(info.output_height);
  rgb.resize(std::size_t(width) * std::size_t(height) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rgb.data() + std::size_t(info.output_scanline) * std::size_t(width) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return rgb;
}

}  // namespace

YuvImage DecodePhoto(Photo photo) {
  int w = 0, h = 0;
  const std::vector<unsigned char> rgb = DecodeRgb(BytesOf(photo), w, h);
  if (w != kPhotoWidth || h != kPhotoHeight) {
    throw std::runtime_error("a built-in photograph has the wrong size");
  }
  YuvImage img(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const unsigned char* p = rgb.data() + (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3;
      const YuvSample s = ToYuv({p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f});
      img.y.at(x, y) = s.y;
      img.u.at(x, y) = s.u;
      img.v.at(x, y) = s.v;
    }
  }
  return img;
}

YuvImage PhotoMosaic(bool second_shot) {
  constexpr Photo kOrder[] = {Photo::kStreet, Photo::kFacade, Photo::kFruit, Photo::kCircuit};
  YuvImage mosaic(2 * kPhotoWidth, 2 * kPhotoHeight);
  for (int q = 0; q < 4; ++q) {
    const YuvImage photo = DecodePhoto(kOrder[q]);
    const int place = second_shot ? 3 - q : q;
    const int left = (place % 2) * kPhotoWidth, top = (place / 2) * kPhotoHeight;
    for (int y = 0; y < kPhotoHeight; ++y) {
      for (int x = 0; x < kPhotoWidth; ++x) {
        const int from = second_shot ? kPhotoWidth - 1 - x : x;
        mosaic.y.at(left + x, top + y) = photo.y.at(from, y);
        mosaic.u.at(left + x, top + y) = photo.u.at(from, y);
        mosaic.v.at(left + x, top + y) = photo.v.at(from, y);
      }
    }
  }
  return mosaic;
}

}  // namespace velmire::lab
