#pragma once
// What the emulated cameras are: read from the file that EMULATED_V4L2 names.
//
//   [/dev/video0]
//   card = Emulated Camera A
//   formats = YUYV 640x480 320x240, MJPG 640x480, Z16 640x480
//                              also GREY, RGB3 (RGB24), UYVY, NV12, YU12 (planar 4:2:0), JPEG
//   format = YUYV 640x480      the format at start (default: the first format's first size)
//   padding = 64               bytes after each row of an uncompressed format
//   busy = yes                 another program streams: S_FMT, REQBUFS, STREAMON give EBUSY
//   lose_after = 20            the device goes away after delivering that many frames
//   fps = 30
//   kind = metadata            a camera's metadata node: no video capture
//
// Frames that a broken camera sends, from frame `spoil_from` on (counted from 0; default 0):
//   bytesused = 100            each says it holds that many bytes (0 ... 4294967295), or
//                              short (one byte less than the frame), luma (a planar frame's
//                              first plane only), beyond (one byte more than the buffer);
//                              a JPEG so shortened is a cut one
//   error_flag = yes           each carries V4L2_BUF_FLAG_ERROR
//   jpeg_cut = 6000            a JPEG cut after that many bytes, FF D9 appended
//   jpeg_trailer = 4           that many bytes that are not zero after a JPEG's end marker
//   jpeg_image = 320x240       a JPEG of that size in place of the stream's
//   jpeg_header = 640x480      a JPEG whose header gives that size, whatever its data holds
//   jpeg_huffman = none        a JPEG without Huffman tables (the standard ones left out); the
//                              frames before spoil_from bring their own, optimised ones
//   jpeg_quantization = none   a JPEG without quantization tables
//   jpeg_pad = 3               a JPEG with a restart marker after each row of blocks, and that
//                              many zero bytes before each and before the end marker
//   jpeg_scans = components    a JPEG of one scan for each colour component; progressive: a
//                              progressive JPEG (ten scans)
//   jpeg_scans_kept = 2        only that many of its scans, FF D9 appended
//   spoil_from = 10
// And a camera whose VIDIOC_DQBUF fails with EIO (or EINTR) once that many frames were
// dequeued:
//   eio_after = 5              or eintr_after = 5
//   eio_count = 2              that many calls fail, then it works again (0: every call)
//
// Nodes that are not listed do not exist, whatever the computer has.
#include <cstdint>
#include <string>
#include <vector>

#include "pattern.h"

namespace emulated_v4l2 {

struct FrameSize {
  std::uint32_t width = 0, height = 0;
};

struct FormatConfig {
  std::uint32_t fourcc = 0;
  std::vector<FrameSize> sizes;
};

struct DeviceConfig {
  std::string node;
  std::string card = "Emulated Camera";
  bool metadata = false;
  std::vector<FormatConfig> formats;
  std::uint32_t fourcc = 0;  // the format at start
  FrameSize size;
  std::uint32_t padding = 0;
  bool busy = false;
  unsigned lose_after = 0;  // 0: never
  unsigned fps = 30;

  enum class Used { Frame, Number, Short, Luma, Beyond };
  Used bytesused = Used::Frame;
  std::uint32_t bytesused_number = 0;
  bool error_flag = false;
  std::uint32_t jpeg_cut = 0, jpeg_trailer = 0;  // 0: none
  FrameSize jpeg_image, jpeg_header;             // 0 x 0: the stream's
  bool jpeg_no_huffman = false, jpeg_no_quantization = false;
  std::uint32_t jpeg_pad = 0;
  JpegMaking::Scans jpeg_scans = JpegMaking::Scans::One;
  unsigned jpeg_scans_kept = 0;  // 0: all
  unsigned spoil_from = 0;
  int dqbuf_errno = 0;  // 0: it does not fail
  unsigned eio_after = 0, eio_count = 0;
};

// "YUYV" -> V4L2_PIX_FMT_YUYV; names shorter than four characters are padded with spaces.
std::uint32_t fourcc_of(const std::string& name);

// The devices of a configuration text; lines it cannot read are reported in `error`.
std::vector<DeviceConfig> parse_config(const std::string& text, std::string* error);

}  // namespace emulated_v4l2
