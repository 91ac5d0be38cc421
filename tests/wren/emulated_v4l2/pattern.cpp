#include "pattern.h"

#include <cstdio>
#include <cstdlib>

// After <cstdio>: it needs size_t and FILE declared.
#include <jpeglib.h>

namespace emulated_v4l2 {

void pattern_pixel(std::uint32_t x, std::uint32_t y, std::uint32_t w, std::uint32_t h,
                   std::uint8_t rgb[3]) {
  const std::uint32_t i = (y * kRows / h) * kColumns + x * kColumns / w;
  // Mid-range colours, away from the ends where YUV clips; any two differ by 43 or more in
  // one of their components.
  rgb[0] = std::uint8_t(48 + i * 4);
  rgb[1] = std::uint8_t(48 + (i * 43 + 40) % 160);
  rgb[2] = std::uint8_t(48 + (i * 131 + 80) % 160);
}

std::vector<std::uint8_t> pattern_rgb(std::uint32_t w, std::uint32_t h) {
  std::vector<std::uint8_t> out(std::size_t(w) * h * 3);
  std::uint8_t* p = out.data();
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < w; ++x, p += 3) pattern_pixel(x, y, w, h, p);
  return out;
}

std::vector<std::uint8_t> pattern_jpeg(std::uint32_t w, std::uint32_t h, const JpegMaking& making) {
  std::vector<std::uint8_t> rgb = pattern_rgb(w, h);
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = w;
  c.image_height = h;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  // Full-resolution colour (4:4:4): the block edges lie on JPEG block edges, so every pixel
  // decodes to its own colour, none smeared into its neighbour's.
  for (int i = 0; i < c.num_components; ++i)
    c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  static const jpeg_scan_info kComponentScans[] = {{1, {0}, 0, DCTSIZE2 - 1, 0, 0},
                                                   {1, {1}, 0, DCTSIZE2 - 1, 0, 0},
                                                   {1, {2}, 0, DCTSIZE2 - 1, 0, 0}};
  switch (making.scans) {
    case JpegMaking::Scans::One:
      break;
    case JpegMaking::Scans::Components:
      c.scan_info = kComponentScans;
      c.num_scans = 3;
      break;
    case JpegMaking::Scans::Progressive:
      jpeg_simple_progression(&c);
      break;
  }
  c.optimize_coding = making.optimised ? TRUE : FALSE;
  if (making.restarts) c.restart_in_rows = 1;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < h) {
    JSAMPROW row = rgb.data() + std::size_t(c.next_scanline) * w * 3;
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<std::uint8_t> jpeg(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return jpeg;
}

}  // namespace emulated_v4l2
