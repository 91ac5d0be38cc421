#pragma once
// What the emulated cameras are: read from the file that EMULATED_V4L2 names.
//
//   [/dev/video0]
//   card = Emulated Camera A
//   formats = YUYV 640x480 320x240, MJPG 640x480, Z16 640x480
//   format = YUYV 640x480      the format at start (default: the first format's first size)
//   padding = 64               bytes after each row of an uncompressed format
//   busy = yes                 another program streams: S_FMT, REQBUFS, STREAMON give EBUSY
//   lose_after = 20            the device goes away after delivering that many frames
//   fps = 30
//   kind = metadata            a camera's metadata node: no video capture
//
// Nodes that are not listed do not exist, whatever the computer has.
#include <cstdint>
#include <string>
#include <vector>

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
};

// "YUYV" -> V4L2_PIX_FMT_YUYV; names shorter than four characters are padded with spaces.
std::uint32_t fourcc_of(const std::string& name);

// The devices of a configuration text; lines it cannot read are reported in `error`.
std::vector<DeviceConfig> parse_config(const std::string& text, std::string* error);

}  // namespace emulated_v4l2
