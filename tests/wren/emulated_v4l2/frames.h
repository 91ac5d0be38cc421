#pragma once
// The pattern as a camera delivers it, in each pixel format the emulated cameras offer.
#include <cstdint>
#include <vector>

#include "config.h"

namespace emulated_v4l2 {

// Bytes a pixel of an uncompressed format's first plane; 0 for a compressed one (MJPEG, JPEG).
std::uint32_t bytes_per_pixel(std::uint32_t fourcc);
bool compressed(std::uint32_t fourcc);

// Row length (of the first plane) and buffer size of a w x h frame, as S_FMT reports them. The
// planar 4:2:0 formats (YU12, NV12) carry chroma for each two by two pixels, as the kernel lays
// them out: rows of half the luma row (rounded up) in two planes for YU12, one interleaved
// plane of the luma row's length (rounded up to even) for NV12, over half the height (rounded
// up).
std::uint32_t bytes_per_line(std::uint32_t fourcc, std::uint32_t w, std::uint32_t padding);
std::uint32_t size_image(std::uint32_t fourcc, std::uint32_t w, std::uint32_t h,
                         std::uint32_t padding);
// The first plane's size: the luma of a planar frame, the whole of a packed one.
std::uint32_t first_plane_size(std::uint32_t fourcc, std::uint32_t w, std::uint32_t h,
                               std::uint32_t padding);

// The frame a camera sends while it is not broken; rows of uncompressed formats are
// `bytes_per_line` long, the padding filled with junk.
std::vector<std::uint8_t> camera_frame(const DeviceConfig& config, std::uint32_t fourcc,
                                       std::uint32_t w, std::uint32_t h);

// The JPEG a broken camera sends in place of a w x h frame, as its jpeg_* keys say; empty when
// they say nothing.
std::vector<std::uint8_t> spoilt_jpeg(const DeviceConfig& config, std::uint32_t w, std::uint32_t h);

}  // namespace emulated_v4l2
