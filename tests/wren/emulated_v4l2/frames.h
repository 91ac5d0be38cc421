#pragma once
// The pattern as a camera delivers it, in each pixel format the emulated cameras offer.
#include <cstdint>
#include <vector>

namespace emulated_v4l2 {

// Bytes a pixel of an uncompressed format; 0 for a compressed one (MJPEG, JPEG).
std::uint32_t bytes_per_pixel(std::uint32_t fourcc);
bool compressed(std::uint32_t fourcc);

// Row length and buffer size of a w x h frame, as S_FMT reports them.
std::uint32_t bytes_per_line(std::uint32_t fourcc, std::uint32_t w, std::uint32_t padding);
std::uint32_t size_image(std::uint32_t fourcc, std::uint32_t w, std::uint32_t h,
                         std::uint32_t padding);

// One frame; rows of uncompressed formats are `bpl` bytes long, the padding filled with junk.
std::vector<std::uint8_t> encode_frame(std::uint32_t fourcc, std::uint32_t w, std::uint32_t h,
                                       std::uint32_t bpl);

}  // namespace emulated_v4l2
