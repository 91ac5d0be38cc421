#pragma once
// Motion-JPEG frames to packed RGB through libjpeg, each frame by itself: nothing of one frame's
// tables is used for the next. Whether a frame is whole shows only in decoding it: a frame cut
// short with an end marker appended, or the data of a smaller picture under a larger header,
// decodes "successfully" otherwise, grey or garbled below the damage. So every word of damage
// libjpeg gives stops the decoding and drops the frame (padding it skips before a marker is no
// damage), and so does a frame of several scans in which a component misses a scan or a
// coefficient its last refinement, or a picture of another size than the stream's. Bytes after
// the end marker are never read.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "wren/capture/frame_check.h"

namespace wren::capture {

class JpegDecoder {
 public:
  JpegDecoder();
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // Decodes the `size` bytes into `rgb`, `width` x `height` pixels, three bytes each, top row
  // first. FrameFault::None for a whole frame; otherwise JpegIncomplete, JpegDamaged or
  // JpegSize, `why` says what it is (in English, like the device's other texts) and `rgb` holds
  // whatever was decoded before.
  FrameFault decode(const std::uint8_t* bytes, std::size_t size, int width, int height,
                    std::uint8_t* rgb, QString* why);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace wren::capture
