// Draws the pictures the programs carry in their resources: plover's banner database.bmp
// (512 x 80, the width of the window's picture control) and window icon house.ico, and
// kestrel's program icon network98.ico. Run by hand when a picture changes:
//   draw_pictures <source folder>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void cylinder(QPainter& p, QRectF r, QColor body) {
  const qreal lid = r.height() / 5;
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, body.darker(130));
  g.setColorAt(0.4, body.lighter(140));
  g.setColorAt(1, body.darker(160));
  QPainterPath side;
  side.moveTo(r.left(), r.top() + lid / 2);
  side.lineTo(r.left(), r.bottom() - lid / 2);
  side.arcTo(QRectF(r.left(), r.bottom() - lid, r.width(), lid), 180, 180);
  side.lineTo(r.right(), r.top() + lid / 2);
  side.closeSubpath();
  p.setPen(QPen(body.darker(200), 1));
  p.setBrush(g);
  p.drawPath(side);
  for (int band = 1; band <= 2; ++band) {
    const qreal y = r.top() + band * (r.height() - lid) / 3;
    p.drawArc(QRectF(r.left(), y, r.width(), lid), 180 * 16, 180 * 16);
  }
  p.setBrush(body.lighter(160));
  p.drawEllipse(QRectF(r.left(), r.top(), r.width(), lid));
}

QImage banner() {
  QImage img(512, 80, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 512, 80);
  sky.setColorAt(0, QColor(16, 52, 128));
  sky.setColorAt(1, QColor(92, 156, 220));
  p.fillRect(img.rect(), sky);
  // A thin network of lines behind the text.
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  for (int x = 150; x < 512; x += 36) p.drawLine(x, 80, x + 40, 0);
  cylinder(p, QRectF(22, 10, 44, 60), QColor(230, 180, 40));
  cylinder(p, QRectF(72, 22, 34, 48), QColor(90, 190, 110));
  QFont f(QStringLiteral("AR PL UKai CN"));
  f.setPixelSize(30);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0, 0, 0, 90));
  p.drawText(QRect(132, 2, 360, 80), Qt::AlignVCenter, QStringLiteral("数据库连接设置"));
  p.setPen(Qt::white);
  p.drawText(QRect(130, 0, 360, 80), Qt::AlignVCenter, QStringLiteral("数据库连接设置"));
  return img;
}

QImage house() {
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 30, 10), 1.2));
  p.setBrush(QColor(236, 220, 180));
  p.drawRect(QRectF(7, 14, 18, 15));
  p.setBrush(QColor(190, 40, 30));
  p.drawPolygon(QPolygonF({QPointF(3, 15), QPointF(16, 3), QPointF(29, 15)}));
  p.setBrush(QColor(110, 70, 30));
  p.drawRect(QRectF(13.5, 20, 5, 9));
  p.setBrush(QColor(120, 180, 240));
  p.drawRect(QRectF(9, 17, 3.5, 3.5));
  p.drawRect(QRectF(20, 17, 3.5, 3.5));
  return img;
}

// A database on a network: a cylinder linked down to a cable with a computer at either end.
QImage network98() {
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  p.drawLine(QPointF(16, 18), QPointF(16, 26));
  p.drawLine(QPointF(6, 26), QPointF(26, 26));
  p.drawLine(QPointF(6, 23), QPointF(6, 26));
  p.drawLine(QPointF(26, 23), QPointF(26, 26));
  cylinder(p, QRectF(8, 1, 16, 18), QColor(40, 110, 200));
  for (const qreal x : {1.0, 21.0}) {
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(200, 200, 196));
    p.drawRect(QRectF(x, 16, 10, 7));
    p.setBrush(QColor(60, 170, 90));
    p.drawRect(QRectF(x + 1.5, 17.5, 7, 4));
    p.setBrush(QColor(200, 200, 196));
    p.drawRect(QRectF(x + 1, 28, 8, 3));
    p.drawLine(QPointF(x + 5, 23), QPointF(x + 5, 28));
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  const bool ok =
      banner().save(root + QStringLiteral("/plover/resources/database.bmp"), "BMP") &&
      house().save(root + QStringLiteral("/plover/resources/house.ico"), "ICO") &&
      network98().save(root + QStringLiteral("/kestrel/resources/network98.ico"), "ICO");
  return ok ? 0 : 1;
}
