#include "pattern.h"

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

}  // namespace emulated_v4l2
