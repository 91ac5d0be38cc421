#include "tests/wren/bmp_reader.h"

#include <QFile>

namespace wren::test {
namespace {

std::uint32_t le(const QByteArray& b, int at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | std::uint8_t(b[at + i]);
  return v;
}

}  // namespace

Bitmap read_bmp(const QString& path) {
  Bitmap bmp;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    bmp.error = QStringLiteral("cannot open ") + path;
    return bmp;
  }
  const QByteArray b = f.readAll();
  auto bad = [&](const char* why) {
    bmp.error = QString::fromLatin1(why);
    return bmp;
  };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return bad("no BMP header");
  if (le(b, 2, 4) != std::uint32_t(b.size())) return bad("file size field is wrong");
  const std::uint32_t offset = le(b, 10, 4);
  if (le(b, 14, 4) != 40) return bad("not a BITMAPINFOHEADER");
  const auto width = std::int32_t(le(b, 18, 4)), height = std::int32_t(le(b, 22, 4));
  if (width <= 0 || height <= 0) return bad("not a bottom-up picture");
  if (le(b, 26, 2) != 1 || le(b, 28, 2) != 24 || le(b, 30, 4) != 0)
    return bad("not 24-bit uncompressed");
  const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
  if (offset < 54 || offset + stride * std::size_t(height) != std::size_t(b.size()))
    return bad("pixel data does not fill the file");
  bmp.width = width;
  bmp.height = height;
  bmp.rgb.resize(std::size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const char* row = b.constData() + offset + stride * std::size_t(height - 1 - y);
    std::uint8_t* out = bmp.rgb.data() + std::size_t(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      out[3 * x] = std::uint8_t(row[3 * x + 2]);
      out[3 * x + 1] = std::uint8_t(row[3 * x + 1]);
      out[3 * x + 2] = std::uint8_t(row[3 * x]);
    }
  }
  return bmp;
}

}  // namespace wren::test
