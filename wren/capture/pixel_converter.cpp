#include "wren/capture/pixel_converter.h"

#include <libv4l-plugin.h>
#include <libv4lconvert.h>
#include <linux/videodev2.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace wren::capture {
namespace {

// A converter without a device sees this one: a plain capture device that offers the format
// its private data names (none when it has none) in any size.
int bufferless_ioctl(void* priv, int, unsigned long request, void* arg) {
  const std::uint32_t offered = priv ? *static_cast<const std::uint32_t*>(priv) : 0;
  switch (request) {
    case VIDIOC_QUERYCAP: {
      auto* cap = static_cast<v4l2_capability*>(arg);
      std::memset(cap, 0, sizeof *cap);
      std::strcpy(reinterpret_cast<char*>(cap->driver), "buffer");
      cap->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_DEVICE_CAPS;
      cap->device_caps = V4L2_CAP_VIDEO_CAPTURE;
      return 0;
    }
    case VIDIOC_ENUM_FMT: {
      auto* d = static_cast<v4l2_fmtdesc*>(arg);
      if (!offered || d->index != 0 || d->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) break;
      d->pixelformat = offered;
      return 0;
    }
    case VIDIOC_TRY_FMT: {
      auto* f = static_cast<v4l2_format*>(arg);
      if (!offered || f->fmt.pix.pixelformat != offered) break;
      return 0;
    }
    default:
      break;
  }
  errno = EINVAL;
  return -1;
}

const libv4l_dev_ops* bufferless_ops() {
  static const libv4l_dev_ops ops = [] {
    libv4l_dev_ops o{};
    o.ioctl = bufferless_ioctl;
    return o;
  }();
  return &ops;
}

}  // namespace

PixelConverter::PixelConverter(int fd) : data_(v4lconvert_create(fd)) {}

PixelConverter::PixelConverter()
    : data_(v4lconvert_create_with_dev_ops(-1, nullptr, bufferless_ops())) {}

PixelConverter::~PixelConverter() {
  if (data_) v4lconvert_destroy(data_);
}

// Shown a device that offers only `fourcc`, libv4lconvert picks it as the source for RGB
// exactly when it has a conversion from it.
bool PixelConverter::converts_to_rgb(std::uint32_t fourcc) {
  if (!layout_known(fourcc)) return false;
  std::uint32_t offered = fourcc;
  v4lconvert_data* probe = v4lconvert_create_with_dev_ops(-1, &offered, bufferless_ops());
  if (!probe) return false;
  v4l2_format want{}, from{};
  want.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  want.fmt.pix.width = 640;
  want.fmt.pix.height = 480;
  want.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
  want.fmt.pix.field = V4L2_FIELD_ANY;
  const bool yes =
      v4lconvert_try_format(probe, &want, &from) == 0 && from.fmt.pix.pixelformat == fourcc;
  v4lconvert_destroy(probe);
  return yes;
}

bool PixelConverter::converts_to_rgb(std::uint32_t fourcc, int width, int height) {
  return size_converts(fourcc, width, height) && converts_to_rgb(fourcc);
}

bool PixelConverter::best_source(int width, int height, SourceFormat* src) {
  if (!data_) return false;
  v4l2_format want{}, from{};
  want.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  want.fmt.pix.width = static_cast<__u32>(width);
  want.fmt.pix.height = static_cast<__u32>(height);
  want.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
  want.fmt.pix.field = V4L2_FIELD_ANY;
  if (v4lconvert_try_format(data_, &want, &from) != 0) return false;
  src->fourcc = from.fmt.pix.pixelformat;
  src->width = static_cast<int>(from.fmt.pix.width);
  src->height = static_cast<int>(from.fmt.pix.height);
  src->bytes_per_line = static_cast<int>(from.fmt.pix.bytesperline);
  src->size_image = from.fmt.pix.sizeimage;
  return true;
}

bool PixelConverter::to_rgb(const SourceFormat& src, const std::uint8_t* bytes, std::size_t size,
                            Frame* out, QString* error, FrameFault* fault) {
  auto fail = [&](const QString& why) {
    if (error) *error = why;
    if (fault) *fault = FrameFault::Unconverted;
    return false;
  };
  if (!data_) return fail(QStringLiteral("the pixel converter could not be created"));
  if (src.width <= 0 || src.height <= 0) return fail(QStringLiteral("empty frame"));
  if (!size_converts(src.fourcc, src.width, src.height))
    return fail(QStringLiteral("%1 x %2 %3 does not convert")
                    .arg(src.width)
                    .arg(src.height)
                    .arg(fourcc_text(src.fourcc)));
  if (is_jpeg(src.fourcc)) {
    if (!jpeg_to_rgb(src, bytes, size, error, fault)) return false;
    hand_over(src, out);
    return true;
  }

  int bytes_per_line = effective_line(src);
  if (const std::size_t whole = frame_bytes(src)) {
    if (size < whole) return fail(QStringLiteral("short frame"));
    size = whole;  // libv4lconvert reads no more than a whole frame
  }
  if (size > std::size_t(INT_MAX)) return fail(QStringLiteral("frame too large"));
  std::uint32_t size_image = static_cast<std::uint32_t>(size);

  // Rows padded beyond their pixels are packed first.
  const int row_bytes = packed_bytes_per_pixel(src.fourcc) * src.width;
  if (row_bytes > 0 && bytes_per_line > row_bytes) {
    rows_.resize(std::size_t(row_bytes) * std::size_t(src.height));
    for (int y = 0; y < src.height; ++y)
      std::memcpy(rows_.data() + std::size_t(y) * std::size_t(row_bytes),
                  bytes + std::size_t(y) * std::size_t(bytes_per_line), std::size_t(row_bytes));
    bytes = rows_.data();
    size = rows_.size();
    bytes_per_line = row_bytes;
    size_image = static_cast<std::uint32_t>(size);
  }

  v4l2_format from{};
  from.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  from.fmt.pix.width = static_cast<__u32>(src.width);
  from.fmt.pix.height = static_cast<__u32>(src.height);
  from.fmt.pix.pixelformat = src.fourcc;
  from.fmt.pix.field = V4L2_FIELD_NONE;
  from.fmt.pix.bytesperline = static_cast<__u32>(bytes_per_line);
  from.fmt.pix.sizeimage = size_image;

  v4l2_format to = from;
  const int row = src.width * 3;
  to.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
  to.fmt.pix.bytesperline = static_cast<__u32>(row);
  to.fmt.pix.sizeimage = static_cast<__u32>(row * src.height);

  // Room for whole two-pixel cells as well, in case a conversion writes them at the edge.
  const qsizetype room = qsizetype((src.width + 1) & ~1) * 3 * ((src.height + 1) & ~1);
  spare_.resize(room);
  auto* dst = reinterpret_cast<unsigned char*>(spare_.data());
  const int n = v4lconvert_convert(data_, &from, &to, const_cast<unsigned char*>(bytes),
                                   static_cast<int>(size), dst, static_cast<int>(room));
  if (n < row * src.height) {
    const char* why = v4lconvert_get_error_message(data_);
    return fail(QString::fromLocal8Bit(why && *why ? why : "short frame").trimmed());
  }
  hand_over(src, out);
  return true;
}

bool PixelConverter::jpeg_to_rgb(const SourceFormat& src, const std::uint8_t* bytes,
                                 std::size_t size, QString* error, FrameFault* fault) {
  if (!jpeg_) jpeg_ = std::make_unique<JpegDecoder>();
  const std::size_t whole = std::size_t(src.width) * 3 * std::size_t(src.height);
  v4l2_format rgb{};
  rgb.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  rgb.fmt.pix.width = static_cast<__u32>(src.width);
  rgb.fmt.pix.height = static_cast<__u32>(src.height);
  rgb.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
  rgb.fmt.pix.field = V4L2_FIELD_NONE;
  rgb.fmt.pix.bytesperline = static_cast<__u32>(src.width * 3);
  rgb.fmt.pix.sizeimage = static_cast<__u32>(whole);
  // A camera that libv4lconvert knows to need it (a sensor mounted upside down) still has its
  // picture turned by libv4lconvert, after decoding.
  const bool mend = v4lconvert_needs_conversion(data_, &rgb, &rgb) == 1;
  spare_.resize(qsizetype(whole));
  if (mend) rows_.resize(whole);
  std::uint8_t* dst = mend ? rows_.data() : reinterpret_cast<std::uint8_t*>(spare_.data());
  QString why;
  const FrameFault f = jpeg_->decode(bytes, size, src.width, src.height, dst, &why);
  if (f != FrameFault::None) {
    if (error) *error = why;
    if (fault) *fault = f;
    return false;
  }
  if (mend && v4lconvert_convert(data_, &rgb, &rgb, rows_.data(), static_cast<int>(whole),
                                 reinterpret_cast<unsigned char*>(spare_.data()),
                                 static_cast<int>(whole)) < static_cast<int>(whole)) {
    const char* text = v4lconvert_get_error_message(data_);
    if (error) *error = QString::fromLocal8Bit(text && *text ? text : "short frame").trimmed();
    if (fault) *fault = FrameFault::Unconverted;
    return false;
  }
  return true;
}

void PixelConverter::hand_over(const SourceFormat& src, Frame* out) {
  spare_.resize(qsizetype(src.width) * 3 * src.height);
  out->width = src.width;
  out->height = src.height;
  std::swap(out->rgb, spare_);
}

QString fourcc_text(std::uint32_t fourcc) {
  QString s;
  for (int i = 0; i < 4; ++i) s += QChar(char((fourcc >> (8 * i)) & 0xFF));
  return s.trimmed();
}

}  // namespace wren::capture
