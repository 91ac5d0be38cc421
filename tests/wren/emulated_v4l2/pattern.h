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

// The picture as a baseline JPEG, in full-resolution colour (4:4:4), with the standard tables.
std::vector<std::uint8_t> pattern_jpeg(std::uint32_t w, std::uint32_t h);

// Writes w x h into a JPEG's frame header (SOF0 ... SOF2), whatever its data holds.
void set_jpeg_header_size(std::vector<std::uint8_t>& jpeg, std::uint32_t w, std::uint32_t h);

}  // namespace emulated_v4l2
