#include "wren/capture/frame_check.h"

#include <linux/videodev2.h>

#include <algorithm>

namespace wren::capture {
namespace {

// A JPEG starts with its start-of-image marker and ends with its end-of-image marker. Some
// cameras fill the rest of a frame with zeros after the end.
bool whole_jpeg(const std::uint8_t* p, std::size_t n) {
  if (n < 4 || p[0] != 0xFF || p[1] != 0xD8) return false;
  while (n > 4 && p[n - 1] == 0) --n;
  return p[n - 2] == 0xFF && p[n - 1] == 0xD9;
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
    if (!whole_jpeg(bytes, c.used))
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
