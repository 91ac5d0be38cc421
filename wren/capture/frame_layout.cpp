#include "wren/capture/frame_layout.h"

#include <linux/videodev2.h>

namespace wren::capture {
namespace {

// How the planes after the first add to its size, in quarters of it.
enum class Planes { One = 4, Chroma420 = 6, Chroma422 = 8 };

struct Layout {
  int bytes_per_pixel;  // of the first plane
  Planes planes;
  bool even_width, even_height;  // the cells libv4lconvert reads whole
  bool packed = false;           // whole pixels one after another in one plane
};

bool layout_of(std::uint32_t fourcc, Layout* out) {
  switch (fourcc) {
    case V4L2_PIX_FMT_GREY:
      *out = {1, Planes::One, false, false, true};
      return true;
    case V4L2_PIX_FMT_RGB565:
      *out = {2, Planes::One, false, false, true};
      return true;
    case V4L2_PIX_FMT_RGB24:
    case V4L2_PIX_FMT_BGR24:
      *out = {3, Planes::One, false, false, true};
      return true;
    case V4L2_PIX_FMT_RGB32:
    case V4L2_PIX_FMT_BGR32:
    case V4L2_PIX_FMT_XBGR32:
    case V4L2_PIX_FMT_ABGR32:
    case V4L2_PIX_FMT_XRGB32:
    case V4L2_PIX_FMT_ARGB32:
      *out = {4, Planes::One, false, false, true};
      return true;
    case V4L2_PIX_FMT_YUYV:
    case V4L2_PIX_FMT_YVYU:
    case V4L2_PIX_FMT_UYVY:
    case V4L2_PIX_FMT_VYUY:
      *out = {2, Planes::One, true, false, true};
      return true;
    case V4L2_PIX_FMT_NV16:
    case V4L2_PIX_FMT_NV61:
      *out = {1, Planes::Chroma422, true, false};
      return true;
    case V4L2_PIX_FMT_YUV420:
    case V4L2_PIX_FMT_YVU420:
    case V4L2_PIX_FMT_NV12:
    case V4L2_PIX_FMT_NV21:
      *out = {1, Planes::Chroma420, true, true};
      return true;
    case V4L2_PIX_FMT_SBGGR8:
    case V4L2_PIX_FMT_SGBRG8:
    case V4L2_PIX_FMT_SGRBG8:
    case V4L2_PIX_FMT_SRGGB8:
      *out = {1, Planes::One, true, true};
      return true;
    default:
      return false;
  }
}

constexpr int kLargestSide = 8192;  // 8K video is 7680 x 4320

}  // namespace

bool is_jpeg(std::uint32_t fourcc) {
  return fourcc == V4L2_PIX_FMT_MJPEG || fourcc == V4L2_PIX_FMT_JPEG;
}

int packed_bytes_per_pixel(std::uint32_t fourcc) {
  Layout l;
  return layout_of(fourcc, &l) && l.packed ? l.bytes_per_pixel : 0;
}

int unpadded_line(std::uint32_t fourcc, int width) {
  Layout l;
  return layout_of(fourcc, &l) ? l.bytes_per_pixel * width : 0;
}

bool layout_known(std::uint32_t fourcc) {
  Layout l;
  return is_jpeg(fourcc) || layout_of(fourcc, &l);
}

bool size_converts(std::uint32_t fourcc, int width, int height) {
  // The RGB picture's size, at most 8192 x 8192 x 3, reaches libv4lconvert as an int.
  if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return false;
  if (is_jpeg(fourcc)) return true;
  Layout l;
  if (!layout_of(fourcc, &l)) return false;
  return !(l.even_width && width % 2) && !(l.even_height && height % 2);
}

int effective_line(const SourceFormat& f) {
  const int unpadded = unpadded_line(f.fourcc, f.width);
  return f.bytes_per_line > unpadded ? f.bytes_per_line : unpadded;
}

std::size_t frame_bytes(const SourceFormat& f) {
  Layout l;
  if (f.width <= 0 || f.height <= 0 || !layout_of(f.fourcc, &l)) return 0;
  const std::size_t first = std::size_t(effective_line(f)) * std::size_t(f.height);
  return (first * std::size_t(l.planes) + 3) / 4;
}

}  // namespace wren::capture
