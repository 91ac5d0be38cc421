#include "shared/button/disabled_picture.h"

#include <QPainter>

namespace xpb {

QImage disabled_picture(const QPixmap& picture, QColor light, QColor shadow) {
  QImage on_white(picture.size(), QImage::Format_RGB32);
  on_white.fill(Qt::white);
  {
    QPainter p(&on_white);
    p.drawPixmap(0, 0, picture);
  }
  QImage out(picture.size(), QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  const QRgb white = qRgb(255, 255, 255);
  const int w = on_white.width(), h = on_white.height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (on_white.pixel(x, y) != white && x + 1 < w && y + 1 < h)
        out.setPixel(x + 1, y + 1, light.rgba());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (on_white.pixel(x, y) != white) out.setPixel(x, y, shadow.rgba());
  return out;
}

}  // namespace xpb
