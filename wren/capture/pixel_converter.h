#pragma once
// Camera pixel formats to the capture layer's packed RGB, through libv4lconvert.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "wren/capture/frame.h"

struct v4lconvert_data;

namespace wren::capture {

// How a buffer from the device is laid out.
struct SourceFormat {
  std::uint32_t fourcc = 0;  // V4L2_PIX_FMT_*
  int width = 0;
  int height = 0;
  int bytes_per_line = 0;        // 0: rows without padding
  std::uint32_t size_image = 0;  // 0: the buffer's size
};

class PixelConverter {
 public:
  // For an open device: libv4lconvert then knows the device's quirks (flipped sensors).
  explicit PixelConverter(int fd);
  // For buffers that come from no device.
  PixelConverter();
  ~PixelConverter();
  PixelConverter(const PixelConverter&) = delete;
  PixelConverter& operator=(const PixelConverter&) = delete;

  bool valid() const { return data_ != nullptr; }
  // Whether libv4lconvert can turn frames in `fourcc` into RGB.
  static bool converts_to_rgb(std::uint32_t fourcc);
  // The device format to ask for so that frames of about `width` x `height` convert to RGB
  // with the least work. Only for a converter made for a device.
  bool best_source(int width, int height, SourceFormat* src);
  // Converts one buffer; on failure `out` is left as it was.
  bool to_rgb(const SourceFormat& src, const std::uint8_t* bytes, std::size_t size, Frame* out,
              QString* error);

 private:
  v4lconvert_data* data_ = nullptr;
};

// "YUYV" for V4L2_PIX_FMT_YUYV.
QString fourcc_text(std::uint32_t fourcc);

}  // namespace wren::capture
