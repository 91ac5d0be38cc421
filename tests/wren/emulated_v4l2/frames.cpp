#include "frames.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cmath>

#include "jpeg_edit.h"
#include "pattern.h"

namespace emulated_v4l2 {
namespace {

constexpr std::uint8_t kJunk = 0xA5;

std::uint8_t clamp(double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

// Full-range YCbCr of BT.601, as JPEG has it.
void to_yuv(const std::uint8_t* rgb, std::uint8_t* y, std::uint8_t* u, std::uint8_t* v) {
  const double r = rgb[0], g = rgb[1], b = rgb[2];
  *y = clamp(0.299 * r + 0.587 * g + 0.114 * b);
  *u = clamp(128 - 0.168736 * r - 0.331264 * g + 0.5 * b);
  *v = clamp(128 + 0.5 * r - 0.418688 * g - 0.081312 * b);
}

}  // namespace

std::vector<std::uint8_t> spoilt_jpeg(const DeviceConfig& c, std::uint32_t w, std::uint32_t h) {
  if (!c.jpeg_cut && !c.jpeg_trailer && !c.jpeg_image.width && !c.jpeg_header.width &&
      !c.jpeg_no_huffman && !c.jpeg_no_quantization && !c.jpeg_pad &&
      c.jpeg_scans == JpegMaking::Scans::One)
    return {};
  JpegMaking making;
  making.scans = c.jpeg_scans;
  making.restarts = c.jpeg_pad > 0;
  std::vector<std::uint8_t> jpeg =
      c.jpeg_image.width ? pattern_jpeg(c.jpeg_image.width, c.jpeg_image.height, making)
                         : pattern_jpeg(w, h, making);
  if (c.jpeg_header.width) set_jpeg_header_size(jpeg, c.jpeg_header.width, c.jpeg_header.height);
  if (c.jpeg_no_huffman) jpeg = without_segments(jpeg, 0xC4);
  if (c.jpeg_no_quantization) jpeg = without_segments(jpeg, 0xDB);
  if (c.jpeg_pad) jpeg = padded_before_markers(jpeg, c.jpeg_pad);
  if (c.jpeg_scans_kept) jpeg = cut_after_scans(jpeg, c.jpeg_scans_kept);
  if (c.jpeg_cut && c.jpeg_cut < jpeg.size()) {
    jpeg.resize(c.jpeg_cut);
    jpeg.push_back(0xFF);
    jpeg.push_back(0xD9);
  }
  jpeg.insert(jpeg.end(), c.jpeg_trailer, kJunk);
  return jpeg;
}

std::uint32_t bytes_per_pixel(std::uint32_t fourcc) {
  switch (fourcc) {
    case V4L2_PIX_FMT_GREY:
    case V4L2_PIX_FMT_YUV420:
    case V4L2_PIX_FMT_NV12:
      return 1;
    case V4L2_PIX_FMT_YUYV:
    case V4L2_PIX_FMT_UYVY:
    case V4L2_PIX_FMT_Z16:
      return 2;
    case V4L2_PIX_FMT_RGB24:
      return 3;
    default:
      return 0;
  }
}

bool compressed(std::uint32_t fourcc) {
  return fourcc == V4L2_PIX_FMT_MJPEG || fourcc == V4L2_PIX_FMT_JPEG;
}

namespace {

bool planar(std::uint32_t fourcc) {
  return fourcc == V4L2_PIX_FMT_YUV420 || fourcc == V4L2_PIX_FMT_NV12;
}

// The chroma planes of the planar formats: row length, rows, planes.
std::uint32_t chroma_line(std::uint32_t fourcc, std::uint32_t bpl) {
  return fourcc == V4L2_PIX_FMT_NV12 ? 2 * ((bpl + 1) / 2) : (bpl + 1) / 2;
}
std::uint32_t chroma_planes(std::uint32_t fourcc) {
  return fourcc == V4L2_PIX_FMT_YUV420 ? 2 : planar(fourcc) ? 1 : 0;
}

}  // namespace

std::uint32_t bytes_per_line(std::uint32_t fourcc, std::uint32_t w, std::uint32_t padding) {
  return compressed(fourcc) ? 0 : w * bytes_per_pixel(fourcc) + padding;
}

std::uint32_t first_plane_size(std::uint32_t fourcc, std::uint32_t w, std::uint32_t h,
                               std::uint32_t padding) {
  // A compressed frame is at most as large as the same frame in YUYV.
  return compressed(fourcc) ? w * h * 2 : bytes_per_line(fourcc, w, padding) * h;
}

std::uint32_t size_image(std::uint32_t fourcc, std::uint32_t w, std::uint32_t h,
                         std::uint32_t padding) {
  const std::uint32_t bpl = bytes_per_line(fourcc, w, padding);
  return first_plane_size(fourcc, w, h, padding) +
         chroma_planes(fourcc) * chroma_line(fourcc, bpl) * ((h + 1) / 2);
}

std::vector<std::uint8_t> camera_frame(const DeviceConfig& config, std::uint32_t fourcc,
                                       std::uint32_t w, std::uint32_t h) {
  if (compressed(fourcc)) return pattern_jpeg(w, h, {.optimised = config.jpeg_no_huffman});
  const std::uint32_t padding = config.padding;
  const std::uint32_t bpl = bytes_per_line(fourcc, w, padding);
  std::vector<std::uint8_t> out(size_image(fourcc, w, h, padding), kJunk);
  // The chroma planes follow the first plane; each sample is that of its cell's first pixel.
  std::uint8_t* const chroma = out.data() + std::size_t(bpl) * h;
  const std::uint32_t cline = chroma_line(fourcc, bpl), cplane = cline * ((h + 1) / 2);
  for (std::uint32_t y = 0; y < h; ++y) {
    std::uint8_t* row = out.data() + std::size_t(y) * bpl;
    for (std::uint32_t x = 0; x < w; ++x) {
      std::uint8_t rgb[3], Y, U, V;
      pattern_pixel(x, y, w, h, rgb);
      to_yuv(rgb, &Y, &U, &V);
      std::uint8_t* cell = chroma + std::size_t(y / 2) * cline;
      const bool first_of_cell = x % 2 == 0 && y % 2 == 0;
      switch (fourcc) {
        case V4L2_PIX_FMT_YUYV:
          // Y0 U Y1 V: U of the pair's first pixel, V of its second; the blocks are whole
          // pairs wide, so both pixels have the same colour.
          row[2 * x] = Y;
          row[2 * x + 1] = (x % 2 == 0) ? U : V;
          break;
        case V4L2_PIX_FMT_UYVY:  // U Y0 V Y1
          row[2 * x + 1] = Y;
          row[2 * x] = (x % 2 == 0) ? U : V;
          break;
        case V4L2_PIX_FMT_YUV420:  // Y plane, then U, then V
          row[x] = Y;
          if (first_of_cell) {
            cell[x / 2] = U;
            cell[cplane + x / 2] = V;
          }
          break;
        case V4L2_PIX_FMT_NV12:  // Y plane, then U V pairs
          row[x] = Y;
          if (first_of_cell) {
            cell[x] = U;
            cell[x + 1] = V;
          }
          break;
        case V4L2_PIX_FMT_GREY:
          row[x] = Y;
          break;
        case V4L2_PIX_FMT_RGB24:
          std::copy(rgb, rgb + 3, row + 3 * x);
          break;
        case V4L2_PIX_FMT_Z16: {  // a depth in millimetres, little-endian
          const std::uint32_t depth = 500 + x + y;
          row[2 * x] = std::uint8_t(depth & 0xFF);
          row[2 * x + 1] = std::uint8_t(depth >> 8);
          break;
        }
      }
    }
  }
  return out;
}

}  // namespace emulated_v4l2
