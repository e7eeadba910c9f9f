#include "lab/clips/photo_footage.h"

#include <algorithm>

#include "lab/clips/photo_library.h"

namespace velmire::lab {
namespace {

// Where the pictures are cut from the 736x576 mosaic: a few columns in, and the middle lines
// for NTSC's 480, so both rows of photographs show.
constexpr int kLeft = 8;

// The object: a piece of the second shot, its place there, and its path.
constexpr int kObjectWidth = 176, kObjectHeight = 128;
constexpr int kObjectSourceX = 280, kObjectSourceY = 224;
constexpr int kObjectStartX = 40;

void CopyLine(const YuvImage& from, int from_x, int from_y, YuvImage& to, int to_x, int to_y,
              int count) {
  for (FloatPlane YuvImage::*plane : {&YuvImage::y, &YuvImage::u, &YuvImage::v}) {
    const float* src = (from.*plane).row(from_y) + from_x;
    std::copy(src, src + count, (to.*plane).row(to_y) + to_x);
  }
}

// The mosaic followed by its mirror image: twice as wide, with no seam at the join.
YuvImage MirroredOnTheRight(const YuvImage& img) {
  const int w = img.y.width;
  YuvImage out(2 * w, img.y.height);
  for (FloatPlane YuvImage::*plane : {&YuvImage::y, &YuvImage::u, &YuvImage::v}) {
    for (int y = 0; y < img.y.height; ++y) {
      const float* src = (img.*plane).row(y);
      float* dst = (out.*plane).row(y);
      std::copy(src, src + w, dst);
      std::reverse_copy(src, src + w, dst + w);
    }
  }
  return out;
}

}  // namespace

PhotoFootage::PhotoFootage(PhotoMotion motion, VideoStandard standard, int width, int frames)
    : motion_(motion), standard_(standard), width_(width), frames_(frames) {
  first_ = PhotoMosaic(false);
  if (motion == PhotoMotion::kPan) first_ = MirroredOnTheRight(first_);
  if (motion == PhotoMotion::kObject || motion == PhotoMotion::kCut) second_ = PhotoMosaic(true);
}

YuvImage PhotoFootage::Frame(int index) const {
  const int height = PictureLines(standard_);
  const int top = (first_.y.height - height) / 2;
  const bool second_shot = motion_ == PhotoMotion::kCut && index >= CutFrame(frames_);
  const YuvImage& shot = second_shot ? second_ : first_;
  YuvImage img(width_, height);
  for (int line = 0; line < height; ++line) {
    const int fields = 2 * index + (FieldTime(standard_, line) > 0.0 ? 1 : 0);
    const int pan = motion_ == PhotoMotion::kPan ? fields : 0;
    CopyLine(shot, kLeft + pan, top + line, img, 0, line, width_);
  }
  if (motion_ == PhotoMotion::kObject) {
    const int object_top = height / 2;
    for (int line = 0; line < height; ++line) {
      const int fields = 2 * index + (FieldTime(standard_, line) > 0.0 ? 1 : 0);
      const int row = line - (object_top - fields / 2);
      if (row < 0 || row >= kObjectHeight) continue;
      const int left = kObjectStartX + 2 * fields;
      const int count = std::min(kObjectWidth, width_ - left);
      if (count > 0) {
        CopyLine(second_, kObjectSourceX, kObjectSourceY + row, img, left, line, count);
      }
    }
  }
  return img;
}

}  // namespace velmire::lab
