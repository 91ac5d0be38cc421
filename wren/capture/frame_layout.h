#pragma once
// How a camera lays out a frame in each pixel format wren takes: row length, planes, whole
// size. Only formats whose size is known can be checked before conversion, so only those and
// JPEG are taken at all.
#include <cstddef>
#include <cstdint>

namespace wren::capture {

// How a buffer from the device is laid out.
struct SourceFormat {
  std::uint32_t fourcc = 0;  // V4L2_PIX_FMT_*
  int width = 0;
  int height = 0;
  int bytes_per_line = 0;        // 0: rows without padding
  std::uint32_t size_image = 0;  // 0: the buffer's size
};

// Motion-JPEG and JPEG: a frame of any length, from its start marker to its end marker.
bool is_jpeg(std::uint32_t fourcc);

// Bytes a pixel of the packed formats (one plane, whole pixels in a row); 0 for the others.
int packed_bytes_per_pixel(std::uint32_t fourcc);

// Bytes of a row without padding (of the luma plane for planar formats); 0 for formats whose
// rows have no fixed length (JPEG) or whose layout wren does not know.
int unpadded_line(std::uint32_t fourcc, int width);

// Whether wren knows how large a frame in `fourcc` is (or, for JPEG, where it ends).
bool layout_known(std::uint32_t fourcc);

// Whether a `width` x `height` frame in `fourcc` converts pixel for pixel. The chroma of 4:2:2
// and 4:2:0 formats and the colour cells of raw Bayer frames cover two pixels a side, and
// libv4lconvert reads and writes whole cells: at an odd width or (4:2:0, Bayer) height it
// skews the picture and writes past its end. Such sizes are not used. Absurd sizes neither.
bool size_converts(std::uint32_t fourcc, int width, int height);

// The row length a frame's rows really take: the format's, or the unpadded one when the format
// states none or less than its pixels need.
int effective_line(const SourceFormat& format);

// The bytes of a whole uncompressed frame: its rows, over its height, in every plane; 0 for
// JPEG and for formats of unknown layout.
std::size_t frame_bytes(const SourceFormat& format);

}  // namespace wren::capture
