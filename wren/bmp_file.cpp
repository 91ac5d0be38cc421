#include "wren/bmp_file.h"

#include <QRegularExpression>

#include "wren/written_file.h"

namespace wren {
namespace {

void put16(char*& p, quint16 v) {
  *p++ = char(v & 0xFF);
  *p++ = char(v >> 8);
}

void put32(char*& p, quint32 v) {
  for (int i = 0; i < 4; ++i) *p++ = char((v >> (8 * i)) & 0xFF);
}

constexpr int kFileHeader = 14, kInfoHeader = 40;

}  // namespace

QByteArray encode_bmp(const capture::Frame& frame) {
  if (frame.empty()) return {};
  const quint32 stride = (quint32(frame.width) * 3 + 3) & ~3u;
  const quint32 image = stride * quint32(frame.height);
  const quint32 offset = kFileHeader + kInfoHeader;
  QByteArray out(qsizetype(offset + image), '\0');
  char* p = out.data();
  // BITMAPFILEHEADER
  *p++ = 'B';
  *p++ = 'M';
  put32(p, offset + image);
  put32(p, 0);  // reserved
  put32(p, offset);
  // BITMAPINFOHEADER
  put32(p, kInfoHeader);
  put32(p, quint32(frame.width));
  put32(p, quint32(frame.height));  // positive: the bottom row comes first
  put16(p, 1);                      // planes
  put16(p, 24);                     // bits a pixel
  put32(p, 0);                      // BI_RGB
  put32(p, image);
  put32(p, 3780);  // 96 dots an inch, in pixels a metre
  put32(p, 3780);
  put32(p, 0);  // colours used
  put32(p, 0);  // colours important

  const auto* src = reinterpret_cast<const unsigned char*>(frame.rgb.constData());
  for (int y = 0; y < frame.height; ++y) {
    const unsigned char* row = src + qsizetype(frame.height - 1 - y) * frame.width * 3;
    char* dst = out.data() + offset + qsizetype(y) * stride;
    for (int x = 0; x < frame.width; ++x, row += 3) {
      *dst++ = char(row[2]);  // blue, green, red
      *dst++ = char(row[1]);
      *dst++ = char(row[0]);
    }
  }
  return out;
}

bool write_bmp_file(const QString& path, const capture::Frame& frame, QString* reason) {
  auto fail = [&](const QString& why) {
    if (reason) *reason = why;
    return false;
  };
  const QByteArray bytes = encode_bmp(frame);
  if (bytes.isEmpty()) return fail(QStringLiteral("没有图像"));
  // A Windows drive names no folder on this system, whatever the current folder holds.
  static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
  if (drive.match(path).hasMatch())
    return fail(QStringLiteral("本系统没有 %1 盘").arg(path.left(2).toUpper()));
  return replace_file(path, bytes, reason);
}

}  // namespace wren
