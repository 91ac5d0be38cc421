#pragma once
// JPEG frames edited the way broken or thrifty cameras send them. Each edit walks the frame's
// markers; a frame they cannot walk comes back as it was.
#include <cstdint>
#include <vector>

namespace emulated_v4l2 {

using JpegBytes = std::vector<std::uint8_t>;

// Writes w x h into the frame header (SOF0 ... SOF2), whatever the data holds.
void set_jpeg_header_size(JpegBytes& jpeg, std::uint32_t w, std::uint32_t h);

// The frame without the segments of that marker before its first scan: 0xC4 (its Huffman
// tables, as many cameras leave the standard ones out), 0xDB (its quantization tables).
JpegBytes without_segments(const JpegBytes& jpeg, std::uint8_t marker);

// `n` zero bytes before each restart marker and before the end marker, as some cameras pad.
JpegBytes padded_before_markers(const JpegBytes& jpeg, std::size_t n);

// The first `scans` scans and what comes before them, an end marker appended.
JpegBytes cut_after_scans(const JpegBytes& jpeg, unsigned scans);

// The frame decoded by libjpeg with its defaults, packed RGB, top row first; empty when
// libjpeg stops at an error.
JpegBytes decode_jpeg(const JpegBytes& jpeg);

}  // namespace emulated_v4l2
