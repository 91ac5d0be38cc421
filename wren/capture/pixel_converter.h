#pragma once
// Camera pixel formats to the capture layer's packed RGB: JPEG through our own decoder (see
// jpeg_decoder.h), the others through libv4lconvert.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "wren/capture/frame.h"
#include "wren/capture/frame_check.h"
#include "wren/capture/frame_layout.h"
#include "wren/capture/jpeg_decoder.h"

struct v4lconvert_data;

namespace wren::capture {

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
  // Whether frames in `fourcc` can become RGB: libv4lconvert converts them and wren knows their
  // layout, so that a frame is checked before it is read (see frame_layout.h).
  static bool converts_to_rgb(std::uint32_t fourcc);
  // ... and at that size.
  static bool converts_to_rgb(std::uint32_t fourcc, int width, int height);
  // The device format to ask for so that frames of about `width` x `height` convert to RGB
  // with the least work. Only for a converter made for a device.
  bool best_source(int width, int height, SourceFormat* src);
  // Converts one buffer of `size` bytes; on failure `out` is left as it was and `fault` says of
  // what kind it is. The buffer that `out` held is kept for the next conversion, so that a
  // steady stream reuses two buffers.
  bool to_rgb(const SourceFormat& src, const std::uint8_t* bytes, std::size_t size, Frame* out,
              QString* error, FrameFault* fault = nullptr);

 private:
  bool jpeg_to_rgb(const SourceFormat& src, const std::uint8_t* bytes, std::size_t size,
                   QString* error, FrameFault* fault);
  void hand_over(const SourceFormat& src, Frame* out);

  v4lconvert_data* data_ = nullptr;
  std::unique_ptr<JpegDecoder> jpeg_;  // made with the first JPEG frame
  QByteArray spare_;                   // the next conversion's RGB buffer
  std::vector<std::uint8_t> rows_;     // padded rows packed for libv4lconvert, or a decoded JPEG
};

// "YUYV" for V4L2_PIX_FMT_YUYV.
QString fourcc_text(std::uint32_t fourcc);

}  // namespace wren::capture
