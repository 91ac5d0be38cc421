#include "wren/capture/frame_check.h"

#include <linux/videodev2.h>

#include <algorithm>

namespace wren::capture {
namespace {

// A JPEG starts with its start-of-image marker. Where it ends is the decoder's to find: many
// cameras fill the rest of the buffer after the end marker, with zeros or anything else.
bool starts_as_jpeg(const std::uint8_t* p, std::size_t n) {
  return n >= 2 && p[0] == 0xFF && p[1] == 0xD8;
}

}  // namespace

FrameCheck check_frame(const SourceFormat& format, const std::uint8_t* bytes,
                       std::uint64_t bytesused, std::size_t length, std::uint32_t flags) {
  FrameCheck c;
  c.used = std::size_t(std::min<std::uint64_t>(bytesused, length));
  auto drop = [&](FrameFault fault, const QString& why) {
    c.fault = fault;
    c.why = why;
    return c;
  };
  if (!bytes) return drop(FrameFault::NoBuffer, QStringLiteral("no buffer"));
  if (flags & V4L2_BUF_FLAG_ERROR)
    return drop(FrameFault::Flagged, QStringLiteral("the camera marked it as damaged"));
  if (is_jpeg(format.fourcc)) {
    if (!starts_as_jpeg(bytes, c.used))
      return drop(FrameFault::JpegIncomplete,
                  QStringLiteral("the JPEG data is incomplete (%1 bytes)").arg(c.used));
  } else if (const std::size_t need = frame_bytes(format); need == 0) {
    return drop(FrameFault::UnknownLayout, QStringLiteral("unknown layout"));
  } else if (c.used < need) {
    return drop(FrameFault::Short, QStringLiteral("%1 of %2 bytes").arg(c.used).arg(need));
  }
  c.good = true;
  return c;
}

}  // namespace wren::capture
