#include "wren/capture/pixel_converter.h"

#include <libv4l-plugin.h>
#include <libv4lconvert.h>
#include <linux/videodev2.h>

#include <cerrno>
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

// Bytes a pixel of the packed formats whose rows libv4lconvert copies as if they had no padding.
int packed_bytes_per_pixel(std::uint32_t fourcc) {
  switch (fourcc) {
    case V4L2_PIX_FMT_GREY:
      return 1;
    case V4L2_PIX_FMT_YUYV:
    case V4L2_PIX_FMT_YVYU:
    case V4L2_PIX_FMT_UYVY:
    case V4L2_PIX_FMT_VYUY:
    case V4L2_PIX_FMT_RGB565:
      return 2;
    case V4L2_PIX_FMT_RGB24:
    case V4L2_PIX_FMT_BGR24:
      return 3;
    case V4L2_PIX_FMT_RGB32:
    case V4L2_PIX_FMT_BGR32:
    case V4L2_PIX_FMT_XBGR32:
    case V4L2_PIX_FMT_ABGR32:
    case V4L2_PIX_FMT_XRGB32:
    case V4L2_PIX_FMT_ARGB32:
      return 4;
    default:
      return 0;
  }
}

// Bytes of a row without padding (of the luma plane for planar formats); 0 for formats whose
// rows have no fixed length (the compressed ones).
int unpadded_line(std::uint32_t fourcc, int width) {
  if (const int bpp = packed_bytes_per_pixel(fourcc)) return bpp * width;
  switch (fourcc) {
    case V4L2_PIX_FMT_YUV420:
    case V4L2_PIX_FMT_YVU420:
    case V4L2_PIX_FMT_NV12:
    case V4L2_PIX_FMT_NV16:
    case V4L2_PIX_FMT_NV61:
    case V4L2_PIX_FMT_SBGGR8:
    case V4L2_PIX_FMT_SGBRG8:
    case V4L2_PIX_FMT_SGRBG8:
    case V4L2_PIX_FMT_SRGGB8:
      return width;
    default:
      return 0;
  }
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
                            Frame* out, QString* error) {
  auto fail = [&](const QString& why) {
    if (error) *error = why;
    return false;
  };
  if (!data_) return fail(QStringLiteral("the pixel converter could not be created"));
  if (src.width <= 0 || src.height <= 0) return fail(QStringLiteral("empty frame"));

  // Rows padded beyond their pixels are packed first.
  QByteArray packed;
  int bytes_per_line = src.bytes_per_line;
  std::uint32_t size_image = src.size_image ? src.size_image : static_cast<std::uint32_t>(size);
  const int bpp = packed_bytes_per_pixel(src.fourcc);
  const int row_bytes = bpp * src.width;
  if (bytes_per_line <= 0) bytes_per_line = unpadded_line(src.fourcc, src.width);
  if (bpp > 0 && bytes_per_line > row_bytes) {
    if (size < std::size_t(bytes_per_line) * std::size_t(src.height - 1) + std::size_t(row_bytes))
      return fail(QStringLiteral("short frame"));
    packed.resize(qsizetype(row_bytes) * src.height);
    for (int y = 0; y < src.height; ++y)
      std::memcpy(packed.data() + qsizetype(y) * row_bytes,
                  bytes + std::size_t(y) * std::size_t(bytes_per_line), std::size_t(row_bytes));
    bytes = reinterpret_cast<const std::uint8_t*>(packed.constData());
    size = std::size_t(packed.size());
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

  QByteArray rgb(qsizetype(row) * src.height, Qt::Uninitialized);
  auto* dst = reinterpret_cast<unsigned char*>(rgb.data());
  const int n = v4lconvert_convert(data_, &from, &to, const_cast<unsigned char*>(bytes),
                                   static_cast<int>(size), dst, static_cast<int>(rgb.size()));
  if (n < row * src.height) {
    const char* why = v4lconvert_get_error_message(data_);
    return fail(QString::fromLocal8Bit(why && *why ? why : "short frame").trimmed());
  }
  out->width = src.width;
  out->height = src.height;
  out->rgb = std::move(rgb);
  return true;
}

QString fourcc_text(std::uint32_t fourcc) {
  QString s;
  for (int i = 0; i < 4; ++i) s += QChar(char((fourcc >> (8 * i)) & 0xFF));
  return s.trimmed();
}

}  // namespace wren::capture
