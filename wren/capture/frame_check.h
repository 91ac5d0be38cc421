#pragma once
// A frame from a camera is checked before anything reads it: the camera's own word on how much
// it filled is bounded by the buffer, a frame it flags as damaged is dropped, and so is one that
// is shorter than its format's size or a JPEG that does not even start. Whether a JPEG is whole
// shows only when it is decoded (see jpeg_decoder.h).
#include <QString>
#include <cstddef>
#include <cstdint>

#include "wren/capture/frame_layout.h"

namespace wren::capture {

// Why a frame is not used; kinds, so that a camera that keeps sending bad frames is reported
// once for each kind, not for each frame.
enum class FrameFault {
  None,
  NoBuffer,
  Flagged,
  Short,
  JpegIncomplete,
  JpegDamaged,
  JpegSize,
  UnknownLayout,
  Unconverted
};

struct FrameCheck {
  bool good = false;
  FrameFault fault = FrameFault::None;
  std::size_t used = 0;  // the bytes to convert: what the camera filled, within the buffer
  QString why;           // why a frame is dropped, in English like the device's other texts
};

// `bytesused` and `flags` as the camera returned them with the buffer; `length`: the size of the
// buffer as mapped, which no read may pass.
FrameCheck check_frame(const SourceFormat& format, const std::uint8_t* bytes,
                       std::uint64_t bytesused, std::size_t length, std::uint32_t flags);

}  // namespace wren::capture
