#pragma once
// The picture every emulated camera shows: 8 x 5 blocks, each of its own colour, so that a
// picture shifted, flipped, cut short, skewed by a wrong row length or with its colours swapped
// differs from it. At 640 x 480 the blocks are 80 x 96 pixels: whole JPEG blocks, whole YUYV
// pairs.
#include <cstdint>
#include <vector>

namespace emulated_v4l2 {

constexpr int kColumns = 8, kRows = 5;

// The colour of the pixel at (x, y) of a w x h picture: red, green, blue.
void pattern_pixel(std::uint32_t x, std::uint32_t y, std::uint32_t w, std::uint32_t h,
                   std::uint8_t rgb[3]);

// The whole picture, packed RGB, top row first.
std::vector<std::uint8_t> pattern_rgb(std::uint32_t w, std::uint32_t h);

// How a camera makes its JPEG frames. Made with the defaults, a frame is baseline, of one scan,
// with the standard Huffman tables.
struct JpegMaking {
  enum class Scans { One, Components, Progressive };  // Components: one scan for each
  Scans scans = Scans::One;
  bool optimised = false;  // Huffman tables of its own, made for the picture
  bool restarts = false;   // a restart marker after each row of blocks
};

// The picture as a JPEG at quality 95, in full-resolution colour (4:4:4).
std::vector<std::uint8_t> pattern_jpeg(std::uint32_t w, std::uint32_t h,
                                       const JpegMaking& making = {});

}  // namespace emulated_v4l2
